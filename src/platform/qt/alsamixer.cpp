#include "platform/qt/alsamixer.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <cerrno>
#include <vector>

namespace zondari {

struct AlsaMixer::Handle {
    snd_mixer_t* mixer = nullptr;

    ~Handle()
    {
        if (mixer)
            snd_mixer_close(mixer);
    }

    // Takes in what changed since the mixer was loaded (another program,
    // the desktop's volume keys).
    void refresh() const { snd_mixer_handle_events(mixer); }

    // The volume of each of the element's playback channels, as the simple
    // mixer knows them.
    static std::vector<long> channelVolumes(snd_mixer_elem_t* elem)
    {
        std::vector<long> volumes;
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
            const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
            long v = 0;
            if (snd_mixer_selem_has_playback_channel(elem, channel)
                && snd_mixer_selem_get_playback_volume(elem, channel, &v) >= 0)
                volumes.push_back(v);
        }
        return volumes;
    }

    // The element named, with what others changed taken in.
    snd_mixer_elem_t* current(const std::string& name) const
    {
        refresh();
        return element(name);
    }

    // The playback element of that name, if the device has it.
    snd_mixer_elem_t* element(const std::string& name) const
    {
        snd_mixer_selem_id_t* id = nullptr;
        if (snd_mixer_selem_id_malloc(&id) < 0)
            return nullptr;
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, name.c_str());
        snd_mixer_elem_t* elem = snd_mixer_find_selem(mixer, id);
        snd_mixer_selem_id_free(id);
        return (elem && snd_mixer_selem_has_playback_volume(elem)) ? elem : nullptr;
    }
};

namespace {

MixerError fromErrno(int err)
{
    switch (-err) {
    case ENOMEM:
        return MixerError::NoMemory;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return MixerError::BadDevice;
    default:
        return MixerError::Error;
    }
}

} // namespace

AlsaMixer::AlsaMixer(std::string device, std::vector<std::string> elements)
    : device_(std::move(device))
    , elements_(std::move(elements))
{
}

AlsaMixer::~AlsaMixer() = default;

BasicStatus<MixerError> AlsaMixer::open()
{
    close();
    auto h = std::make_unique<Handle>();
    if (const int err = snd_mixer_open(&h->mixer, 0); err < 0) {
        h->mixer = nullptr;
        return fromErrno(err);
    }
    if (const int err = snd_mixer_attach(h->mixer, device_.c_str()); err < 0)
        return err == -ENOMEM ? MixerError::NoMemory : MixerError::BadDevice;
    if (const int err = snd_mixer_selem_register(h->mixer, nullptr, nullptr); err < 0)
        return fromErrno(err);
    if (const int err = snd_mixer_load(h->mixer); err < 0)
        return fromErrno(err);
    handle_ = std::move(h);
    return {};
}

void AlsaMixer::close()
{
    handle_.reset();
}

bool AlsaMixer::isOpen() const
{
    return handle_ != nullptr;
}

Result<MixerControl, MixerError> AlsaMixer::speakersVolume()
{
    if (!handle_)
        return MixerError::NotOpen;
    for (const std::string& name : elements_) {
        snd_mixer_elem_t* elem = handle_->element(name);
        if (!elem)
            continue;
        long minimum = 0;
        long maximum = 0;
        if (snd_mixer_selem_get_playback_volume_range(elem, &minimum, &maximum) < 0)
            return MixerError::InvalidControl;
        return MixerControl{name, static_cast<std::int32_t>(minimum), static_cast<std::int32_t>(maximum)};
    }
    return MixerError::InvalidLine;
}

BasicStatus<MixerError> AlsaMixer::setValue(const MixerControl& control, std::int32_t value)
{
    if (!handle_)
        return MixerError::NotOpen;
    snd_mixer_elem_t* elem = handle_->current(control.name);
    if (!elem)
        return MixerError::InvalidControl;
    long minimum = 0;
    long maximum = 0;
    snd_mixer_selem_get_playback_volume_range(elem, &minimum, &maximum);
    if (value < minimum || value > maximum)
        return MixerError::InvalidValue;
    // A value the simple mixer believes every channel already has is not
    // written at all; a change made elsewhere may not have reached it yet,
    // so such a value goes by way of its neighbour.
    const std::vector<long> known = Handle::channelVolumes(elem);
    if (maximum > minimum && std::all_of(known.begin(), known.end(), [value](long v) { return v == value; }))
        snd_mixer_selem_set_playback_volume_all(elem, value < maximum ? value + 1 : value - 1);
    if (const int err = snd_mixer_selem_set_playback_volume_all(elem, value); err < 0)
        return fromErrno(err);
    return {};
}

Result<std::int32_t, MixerError> AlsaMixer::getValue(const MixerControl& control)
{
    if (!handle_)
        return MixerError::NotOpen;
    snd_mixer_elem_t* elem = handle_->current(control.name);
    if (!elem)
        return MixerError::InvalidControl;
    const std::vector<long> volumes = Handle::channelVolumes(elem);
    if (volumes.empty())
        return MixerError::InvalidControl;
    return static_cast<std::int32_t>(*std::max_element(volumes.begin(), volumes.end()));
}

} // namespace zondari
