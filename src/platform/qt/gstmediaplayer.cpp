#include "platform/qt/gstmediaplayer.h"

#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <gst/gst.h>
#include <memory>
#include <mutex>

#include "core/player/mediavolume.h"
#include "core/player/playlist.h"
#include "platform/files.h"

namespace zondari {

namespace {

// playbin's GstPlayFlags: audio only; with the volume in the pipeline only
// when the sink cannot take it.
constexpr guint kPlayAudio = 1u << 1;
constexpr guint kPlaySoftVolume = 1u << 4;

GstElement* makeSink(guint& flags)
{
    flags = kPlayAudio;
    if (GstElement* pulse = gst_element_factory_make("pulsesink", nullptr)) {
        // The stream's name in the desktop's sound settings.
        g_object_set(pulse, "client-name", "Zondari", nullptr);
        return pulse;
    }
    flags |= kPlaySoftVolume;
    return gst_element_factory_make("autoaudiosink", nullptr);
}

constexpr double kNanosecond = 1e-9;

} // namespace

// Hands the pipeline's reports, which come from GStreamer's threads, to the
// player's own thread, stamped with the file they are about.
struct GstBusBridge {
    static GstBusSyncReply sync(GstBus*, GstMessage* message, gpointer data)
    {
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_ASYNC_DONE:
        case GST_MESSAGE_DURATION_CHANGED:
            break;
        default:
            return GST_BUS_DROP;
        }
        auto* self = static_cast<GstMediaPlayer*>(data);
        const unsigned generation = self->generation_.load();
        // Released with the queued call, whether or not it ever runs.
        std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
        QMetaObject::invokeMethod(
            self, [self, held, generation] { self->onMessage(held.get(), generation); }, Qt::QueuedConnection);
        return GST_BUS_DROP;
    }
};

GstMediaPlayer::GstMediaPlayer(QObject* parent)
    : QObject(parent)
{
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });

    pipeline_ = gst_element_factory_make("playbin", nullptr);
    if (!pipeline_)
        return; // no GStreamer base plugins: every file fails to open
    gst_object_ref_sink(pipeline_);
    guint flags = 0;
    GstElement* sink = makeSink(flags);
    g_object_set(pipeline_, "flags", flags, nullptr);
    if (sink) {
        g_object_set(pipeline_, "audio-sink", sink, nullptr);
        if (flags & kPlaySoftVolume)
            sink = nullptr; // the volume is the pipeline's
    }
    sink_ = sink;
    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, &GstBusBridge::sync, this, nullptr);
    gst_object_unref(bus);
}

GstMediaPlayer::~GstMediaPlayer()
{
    if (!pipeline_)
        return;
    // Its threads end here, and with them the reports.
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(pipeline_);
}

void GstMediaPlayer::unload()
{
    if (pipeline_)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
    ++generation_;
    loaded_ = false;
    failed_ = false;
    ended_ = false;
    duration_ = 0.0;
    endPosition_ = 0.0;
    lastPosition_ = 0.0;
    pendingSeek_.reset();
}

Status GstMediaPlayer::setFileName(const std::string& name)
{
    state_ = State::Stopped;
    name_ = name;
    played_ = false;
    unplayable_ = false;
    entries_.clear();
    index_ = 0;
    unload();

    const bool web = playlist::isWebAddress(name);
    const std::string path = web ? name : files::absolutePath(name);
    if (name.empty() || (!web && !files::fileExists(path))) {
        unplayable_ = true;
        stateChanged();
        return runtimeErrorFromErrno(ENOENT);
    }
    if (!web && playlist::isPlaylist(path)) {
        entries_ = playlist::expand(path, files::openSource);
    } else {
        entries_ = {path};
    }
    // A playlist with nothing playable opens as an empty player: playing it
    // ends at once.
    openFrom(0);
    stateChanged();
    return {};
}

bool GstMediaPlayer::load(std::size_t index)
{
    index_ = index;
    const std::string& entry = entries_[index];
    const bool web = playlist::isWebAddress(entry);
    if (!pipeline_ || (!web && !files::fileExists(entry)))
        return false;
    unload();
    // A file name is bytes: the URI escapes each one that needs it, so names
    // that are not UTF-8 play too.
    gchar* uri = web ? g_strdup(entry.c_str()) : gst_filename_to_uri(entry.c_str(), nullptr);
    if (!uri)
        return false;
    g_object_set(pipeline_, "uri", uri, nullptr);
    g_free(uri);
    loaded_ = true;
    // Each file opens a new stream on the sound server, which would start at
    // the server's full volume: the sink is handed the volume before the
    // stream opens, so that not one sample is heard louder.
    applyVolume();
    // Prerolled at once, so that its length is known and play starts without
    // a wait; the step from one playlist entry to the next goes on playing.
    gst_element_set_state(pipeline_, state_ == State::Playing ? GST_STATE_PLAYING : GST_STATE_PAUSED);
    return true;
}

bool GstMediaPlayer::openFrom(std::size_t index)
{
    for (std::size_t i = index; i < entries_.size(); ++i)
        if (load(i))
            return true;
    unload();
    index_ = entries_.size();
    unplayable_ = !played_;
    return false;
}

std::string GstMediaPlayer::entryPath() const
{
    return index_ < entries_.size() ? entries_[index_] : std::string();
}

int GstMediaPlayer::playState() const
{
    switch (state_) {
    case State::Playing:
        return kPlaying;
    case State::Paused:
        return kPaused;
    case State::Stopped:
        break;
    }
    return kStopped;
}

Status GstMediaPlayer::play()
{
    // No file that opened, or a playlist without an entry: nothing plays.
    if (entries_.empty())
        return runtimeErrorFromErrno(ENOENT);
    if (index_ >= entries_.size() || !loaded_)
        return {};
    state_ = State::Playing;
    if (failed_) {
        // Its failure was reported before play was asked: move on as if it
        // had just failed.
        QMetaObject::invokeMethod(
            this,
            [this, generation = generation_.load()] {
                if (generation == generation_ && failed_)
                    entryOver();
            },
            Qt::QueuedConnection);
        return {};
    }
    if (ended_) {
        ended_ = false;
        seek(0.0);
    }
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    stateChanged();
    return {};
}

void GstMediaPlayer::pause()
{
    if (state_ != State::Playing)
        return;
    state_ = State::Paused;
    if (loaded_ && !failed_)
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    stateChanged();
}

void GstMediaPlayer::stop()
{
    const double old = currentPosition();
    state_ = State::Stopped;
    if (loaded_ && !failed_) {
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
        seek(0.0);
    }
    ended_ = false;
    endPosition_ = 0.0;
    positionChanged(old, 0.0);
    stateChanged();
}

void GstMediaPlayer::seek(double seconds)
{
    const bool done = gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), static_cast<gint64>(seconds * GST_SECOND));
    // Before the pipeline has prerolled there is nothing to seek in yet; the
    // seek waits for it.
    if (done)
        pendingSeek_.reset();
    else
        pendingSeek_ = seconds;
}

double GstMediaPlayer::currentPosition() const
{
    if (!loaded_ || failed_)
        return 0.0;
    if (state_ == State::Stopped)
        return ended_ ? endPosition_ : 0.0;
    if (pendingSeek_)
        return *pendingSeek_;
    gint64 position = 0;
    if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) && position >= 0)
        lastPosition_ = static_cast<double>(position) * kNanosecond;
    return lastPosition_;
}

void GstMediaPlayer::setCurrentPosition(double seconds)
{
    const double old = currentPosition();
    seconds = std::max(seconds, 0.0);
    if (loaded_ && !failed_) {
        ended_ = false;
        lastPosition_ = seconds;
        seek(seconds);
    }
    positionChanged(old, seconds);
}

double GstMediaPlayer::duration() const
{
    if (duration_ <= 0.0 && loaded_ && !failed_) {
        gint64 length = 0;
        if (gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &length) && length > 0)
            duration_ = static_cast<double>(length) * kNanosecond;
    }
    return duration_;
}

void GstMediaPlayer::setVolume(int hundredthsOfDecibel)
{
    volume_ = std::clamp(hundredthsOfDecibel, kSilentVolume, 0);
    applyVolume();
    stateChanged();
}

void GstMediaPlayer::applyVolume()
{
    if (!pipeline_)
        return;
    g_object_set(pipeline_, "volume", volumeGain(volume_), nullptr);
    if (sink_)
        g_object_set(sink_, "volume", volumeGain(volume_), nullptr);
}

void GstMediaPlayer::onMessage(GstMessage* message, unsigned generation)
{
    // About a file that has been replaced since.
    if (generation != generation_ || !loaded_)
        return;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        if (ended_ || failed_)
            return;
        ended_ = true;
        played_ = true;
        endPosition_ = std::max(lastPosition_, duration());
        entryOver();
        break;
    case GST_MESSAGE_ERROR:
        if (failed_)
            return;
        failed_ = true;
        // Nothing of it will play: its stream goes at once. (Only a pipeline
        // emptied to NULL after an error opens the next file right.)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        if (index_ + 1 >= entries_.size() && !played_)
            unplayable_ = true;
        entryOver();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (pendingSeek_ && !failed_)
            seek(*pendingSeek_);
        break; // the length is known from here on
    case GST_MESSAGE_DURATION_CHANGED:
        duration_ = 0.0;
        break;
    default:
        return;
    }
    stateChanged();
}

void GstMediaPlayer::entryOver()
{
    if (state_ != State::Playing)
        return;
    if (index_ + 1 < entries_.size() && openFrom(index_ + 1))
        return;
    state_ = State::Stopped;
    if (!played_)
        unplayable_ = true;
    // A finished track keeps its place at the end, its stream paused.
    if (ended_)
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
}

} // namespace zondari
