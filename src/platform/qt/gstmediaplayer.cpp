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
#include "platform/mp3file.h"

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

// pulsesink's elements share one sound-server loop, freed as the last of
// them leaves READY; a caps query or volume call racing with that finds it
// gone and aborts the program inside libpulse ("Assertion 'm' failed ...
// pa_threaded_mainloop_lock"). One element held at READY for the program's
// life keeps the loop. Its own client name keeps its connection apart, so
// that after a restart of the server the players never share a dead one.
void keepPulseLoop()
{
    static GstElement* keeper = nullptr;
    if (keeper)
        return;
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (!sink)
        return;
    gst_object_ref_sink(sink);
    g_object_set(sink, "client-name", "Zondari (in attesa)", nullptr);
    if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
        // No server yet: the next player tries again.
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_object_unref(sink);
        return;
    }
    keeper = sink;
}

constexpr double kNanosecond = 1e-9;

// rgvolume's gain for a track without a ReplayGain tag: the one its encoder
// wrote (GStreamer does not read it there), else this, so that a track
// without a gain is not louder than one with.
constexpr double kFallbackGainDb = -6.0;

// A file name is bytes: the URI escapes each one that needs it, so names
// that are not UTF-8 play too.
std::string uriOf(const std::string& entry)
{
    if (playlist::isWebAddress(entry))
        return entry;
    gchar* uri = gst_filename_to_uri(entry.c_str(), nullptr);
    const std::string out = uri ? uri : "";
    g_free(uri);
    return out;
}

std::vector<std::string> entriesOf(const std::string& path)
{
    if (!playlist::isWebAddress(path) && playlist::isPlaylist(path))
        return playlist::expand(path, files::openSource);
    return {path};
}

} // namespace

// What GStreamer's threads call: playbin asking for what follows, and a new
// stream reaching rgvolume.
struct GstJoin {
    static void aboutToFinish(GstElement* playbin, gpointer data)
    {
        auto* self = static_cast<GstMediaPlayer*>(data);
        const std::lock_guard lock(self->joinMutex_);
        if (!self->follower_)
            return;
        g_object_set(playbin, "uri", self->follower_->uri.c_str(), nullptr);
        if (self->replayGainOn_)
            self->gains_.push_back(self->follower_->fallbackGain);
        self->handed_.push_back(std::move(*self->follower_));
        self->follower_.reset();
    }

    // Each stream's own fallback gain, set as its first buffer is still to
    // come, so that the end of the last one keeps its own.
    static GstPadProbeReturn streamStart(GstPad*, GstPadProbeInfo* info, gpointer data)
    {
        auto* self = static_cast<GstMediaPlayer*>(data);
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) != GST_EVENT_STREAM_START)
            return GST_PAD_PROBE_OK;
        const std::lock_guard lock(self->joinMutex_);
        if (!self->gains_.empty()) {
            g_object_set(self->rgvolume_, "fallback-gain", self->gains_.front(), nullptr);
            self->gains_.pop_front();
        }
        return GST_PAD_PROBE_OK;
    }
};

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
        case GST_MESSAGE_STREAM_START:
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
    keepPulseLoop();

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
    g_signal_connect(pipeline_, "about-to-finish", G_CALLBACK(&GstJoin::aboutToFinish), this);

    // The ReplayGain filter, kept here and put in the pipeline when on.
    GError* error = nullptr;
    replayGain_
        = gst_parse_bin_from_description("rgvolume name=gain album-mode=false headroom=10 ! rglimiter", TRUE, &error);
    if (error)
        g_error_free(error);
    if (replayGain_) {
        gst_object_ref_sink(replayGain_);
        rgvolume_ = gst_bin_get_by_name(GST_BIN(replayGain_), "gain");
        GstPad* pad = rgvolume_ ? gst_element_get_static_pad(rgvolume_, "sink") : nullptr;
        if (pad) {
            gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &GstJoin::streamStart, this, nullptr);
            gst_object_unref(pad);
        }
    }
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
    if (rgvolume_)
        gst_object_unref(rgvolume_);
    if (replayGain_)
        gst_object_unref(replayGain_);
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
    playWhenSought_ = false;
    const std::lock_guard lock(joinMutex_);
    follower_.reset();
    handed_.clear();
    gains_.clear();
}

Status GstMediaPlayer::setFileName(const std::string& name)
{
    state_ = State::Stopped;
    name_ = name;
    played_ = false;
    unplayable_ = false;
    entries_.clear();
    index_ = 0;
    nextName_.clear();
    nextEntries_.clear();
    unload();

    const bool web = playlist::isWebAddress(name);
    const std::string path = web ? name : files::absolutePath(name);
    if (name.empty() || (!web && !files::fileExists(path))) {
        unplayable_ = true;
        stateChanged();
        return runtimeErrorFromErrno(ENOENT);
    }
    entries_ = entriesOf(path);
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
    const std::string uri = uriOf(entry);
    if (uri.empty())
        return false;
    g_object_set(pipeline_, "uri", uri.c_str(), nullptr);
    loaded_ = true;
    awaitingFirstStream_ = true;
    g_object_set(pipeline_, "audio-filter", replayGainOn_ ? replayGain_ : nullptr, nullptr);
    if (replayGainOn_) {
        const std::lock_guard lock(joinMutex_);
        gains_.push_back(mp3file::encoderGainDb(entry).value_or(kFallbackGainDb));
    }
    // Each file opens a new stream on the sound server, which would start at
    // the server's full volume: the sink is handed the volume before the
    // stream opens, so that not one sample is heard louder.
    applyVolume();
    // Prerolled at once, so that its length is known and play starts without
    // a wait; the step from one playlist entry to the next goes on playing.
    gst_element_set_state(pipeline_, state_ == State::Playing ? GST_STATE_PLAYING : GST_STATE_PAUSED);
    prepareFollower();
    return true;
}

void GstMediaPlayer::prepareFollower()
{
    std::optional<Follower> follower;
    const auto make = [this](const std::string& entry, bool newFile) {
        return Follower{
            uriOf(entry), replayGainOn_ ? mp3file::encoderGainDb(entry).value_or(kFallbackGainDb) : 0.0, newFile};
    };
    if (index_ + 1 < entries_.size())
        follower = make(entries_[index_ + 1], false);
    else if (!nextEntries_.empty())
        follower = make(nextEntries_.front(), true);
    const std::lock_guard lock(joinMutex_);
    follower_ = std::move(follower);
}

void GstMediaPlayer::followerStarted()
{
    Follower started;
    {
        const std::lock_guard lock(joinMutex_);
        if (handed_.empty())
            return;
        started = std::move(handed_.front());
        handed_.pop_front();
    }
    if (started.newFile) {
        name_ = std::move(nextName_);
        entries_ = std::move(nextEntries_);
        nextName_.clear();
        nextEntries_.clear();
        index_ = 0;
        played_ = false;
        unplayable_ = false;
    } else {
        ++index_;
        played_ = true;
    }
    duration_ = 0.0;
    lastPosition_ = 0.0;
    endPosition_ = 0.0;
    ended_ = false;
    prepareFollower();
    if (started.newFile)
        nextStarted();
}

void GstMediaPlayer::dropHanded()
{
    bool handed = false;
    {
        const std::lock_guard lock(joinMutex_);
        handed = !handed_.empty();
    }
    if (!handed || !loaded_ || failed_)
        return;
    // playbin holds the next file for when this one ends: the entry in play
    // is put in the pipeline again, where it was.
    const double at = currentPosition();
    if (load(index_) && at > 0.0)
        seek(at);
}

void GstMediaPlayer::setNextFileName(const std::string& name)
{
    if (name == nextName_)
        return;
    bool handedNext = false;
    {
        const std::lock_guard lock(joinMutex_);
        for (const Follower& f : handed_)
            handedNext = handedNext || f.newFile;
    }
    nextName_ = name;
    nextEntries_.clear();
    if (!name.empty()) {
        const std::string path = playlist::isWebAddress(name) ? name : files::absolutePath(name);
        if (playlist::isWebAddress(path) || files::fileExists(path))
            nextEntries_ = entriesOf(path);
    }
    if (handedNext)
        dropHanded();
    prepareFollower();
}

void GstMediaPlayer::setReplayGain(bool on)
{
    // The filter goes in or out of the pipeline only while it is empty: from
    // the next file set on.
    replayGainOn_ = on && replayGain_;
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
    // A position asked before the pipeline prerolled is reached before a
    // sound is heard.
    if (pendingSeek_)
        playWhenSought_ = true;
    else
        gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    stateChanged();
    return {};
}

void GstMediaPlayer::pause()
{
    if (state_ != State::Playing)
        return;
    state_ = State::Paused;
    playWhenSought_ = false;
    if (loaded_ && !failed_)
        gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    stateChanged();
}

void GstMediaPlayer::stop()
{
    const double old = currentPosition();
    state_ = State::Stopped;
    playWhenSought_ = false;
    {
        // What playbin was handed to follow is dropped with the rest.
        const std::lock_guard lock(joinMutex_);
        if (!handed_.empty())
            loaded_ = false;
    }
    if (!loaded_ && index_ < entries_.size())
        load(index_);
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
    case GST_MESSAGE_STREAM_START:
        // The first stream of what was loaded, or the stream of what playbin
        // was handed: the next entry or file is heard now.
        if (awaitingFirstStream_) {
            awaitingFirstStream_ = false;
            return;
        }
        followerStarted();
        break;
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
        // What playbin was handed failed before its stream started: it is
        // the entry in play now, and it failed.
        if (!awaitingFirstStream_)
            followerStarted();
        failed_ = true;
        // Nothing of it will play: its stream goes at once. (Only a pipeline
        // emptied to NULL after an error opens the next file right.)
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        if (index_ + 1 >= entries_.size() && !played_)
            unplayable_ = true;
        entryOver();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (pendingSeek_ && !failed_) {
            seek(*pendingSeek_);
        } else if (playWhenSought_ && state_ == State::Playing) {
            playWhenSought_ = false;
            gst_element_set_state(pipeline_, GST_STATE_PLAYING);
        }
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
