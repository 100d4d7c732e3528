#include "ui/player/mpris.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "buildinfo.h"
#include "core/common/text.h"
#include "core/player/advance.h"
#include "core/player/mediakeys.h"
#include "core/player/mediavolume.h"
#include "core/player/playstate.h"
#include "platform/files.h"
#include "platform/mediaplayer.h"
#include "platform/mp3file.h"
#include "ui/appcontext.h"
#include "ui/player/form1.h"
#include "ui/player/mediaplayercontrol.h"
#include "ui/player/trackgrid.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace {

constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
constexpr int kWatchMs = 250;

// A file's address: every byte of its path that needs it percent-encoded,
// so that a name that is not UTF-8 keeps its bytes.
QString fileUrl(const std::string& absolutePath)
{
    return "file://" + QString::fromLatin1(QByteArray::fromStdString(absolutePath).toPercentEncoding("/"));
}

} // namespace

// The two interfaces MPRIS asks for; each hands its calls to the Mpris
// object.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    explicit MprisRoot(Mpris* m)
        : QDBusAbstractAdaptor(m)
        , m_(m)
    {
    }
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return "Zondari"; }
    QString desktopEntry() const { return build::kDesktopId; }
    QStringList uriSchemes() const { return {"file"}; }
    QStringList mimeTypes() const
    {
        return {"audio/mpeg", "audio/x-mpegurl", "audio/x-wav", "audio/x-ms-wma", "inode/directory"};
    }

public slots:
    void Raise() { m_->Raise(); }
    void Quit() { m_->Quit(); }

private:
    Mpris* m_;
};

class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE setRate)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoNext)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit MprisPlayer(Mpris* m)
        : QDBusAbstractAdaptor(m)
        , m_(m)
    {
        connect(m, &Mpris::Seeked, this, &MprisPlayer::Seeked);
    }
    QString playbackStatus() const { return m_->playbackStatus(); }
    double one() const { return 1.0; }
    void setRate(double) { } // the player plays at its one speed
    QVariantMap metadata() const { return m_->metadata(); }
    double volume() const { return m_->volume(); }
    void setVolume(double v) { m_->setVolume(v); }
    qlonglong position() const { return m_->position(); }
    bool canGoNext() const { return m_->canGoNext(); }
    bool canPlay() const { return m_->canPlay(); }
    bool canPause() const { return m_->canPause(); }
    bool canSeek() const { return m_->canSeek(); }
    bool yes() const { return true; }

public slots:
    void Next() { m_->Next(); }
    void Previous() { m_->Previous(); }
    void Pause() { m_->Pause(); }
    void PlayPause() { m_->PlayPause(); }
    void Stop() { m_->Stop(); }
    void Play() { m_->Play(); }
    void Seek(qlonglong Offset) { m_->Seek(Offset); }
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) { m_->SetPosition(TrackId, Position); }
    void OpenUri(const QString& Uri) { m_->OpenUri(Uri); }

signals:
    void Seeked(qlonglong Position);

private:
    Mpris* m_;
};

Mpris::Mpris(AppContext& ctx, QObject* parent)
    : QObject(parent)
    , ctx_(ctx)
    , bus_(QString())
    , watch_(new QTimer(this))
{
    new MprisRoot(this);
    new MprisPlayer(this);
    watch_->setInterval(kWatchMs);
    connect(watch_, &QTimer::timeout, this, &Mpris::publishChanges);
}

Mpris::~Mpris()
{
    if (!service_.isEmpty()) {
        bus_.unregisterObject(kObjectPath);
        bus_.unregisterService(service_);
    }
}

bool Mpris::registerOn(QDBusConnection bus)
{
    if (!bus.isConnected())
        return false;
    QString name = kServiceName;
    if (!bus.registerService(name)) {
        name += ".instance" + QString::number(::getpid());
        if (!bus.registerService(name))
            return false;
    }
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        bus.unregisterService(name);
        return false;
    }
    bus_ = bus;
    service_ = name;
    playerBefore_ = playerProperties();
    watch_->start();
    return true;
}

bool Mpris::hasTracks() const
{
    return ctx_.form1 && ctx_.form1->ExtGrid1->rows() > 1;
}

void Mpris::playRow(int row)
{
    Form1* f = ctx_.form1;
    f->ExtGrid1->setRow(row);
    ctx_.handle([f] { f->ExtGrid1_Click(); });
}

void Mpris::Raise()
{
    if (QWidget* frame = ctx_.frame) {
        // The frame lives maximised; back from the task bar it is so again.
        if (frame->isMinimized() || !frame->isVisible())
            frame->showMaximized();
        frame->raise();
        frame->activateWindow();
    }
}

void Mpris::Quit()
{
    if (MDIForm1* frame = ctx_.frame)
        ctx_.handle([frame] { frame->MenuEsci_Click(); });
}

void Mpris::Next()
{
    if (hasTracks())
        playRow(nextTrackRow(ctx_.form1->ExtGrid1->row(), ctx_.form1->ExtGrid1->rows()));
    publishChanges();
}

void Mpris::Previous()
{
    if (hasTracks())
        playRow(previousTrackRow(ctx_.form1->ExtGrid1->row(), ctx_.form1->ExtGrid1->rows()));
    publishChanges();
}

void Mpris::Play()
{
    if (!hasTracks() || ctx_.form1->media().playState() == kPlaying)
        return;
    Form1* f = ctx_.form1;
    // Nothing chosen yet: the toolbar's button would have no track to
    // start; the first row (or the one selected) plays, as a click on it.
    if (f->ExtGrid1->row() < 1 || ctx_.state.BranoCorrente.empty())
        playRow(std::max(f->ExtGrid1->row(), 1));
    else
        ctx_.handle([f] { f->Toolbar1_ButtonClick("riprendi"); });
    publishChanges();
}

void Mpris::Pause()
{
    Form1* f = ctx_.form1;
    if (f && f->media().playState() == kPlaying)
        ctx_.handle([f] { f->Toolbar1_ButtonClick("riprendi"); });
    publishChanges();
}

void Mpris::PlayPause()
{
    if (ctx_.form1 && ctx_.form1->media().playState() == kPlaying)
        Pause();
    else
        Play();
}

void Mpris::Stop()
{
    // The player's own stop: the position goes back to the start, which
    // ends the play mode.
    if (ctx_.form1)
        ctx_.form1->MediaPlayer1->stopButton()->click();
    publishChanges();
}

void Mpris::Seek(qlonglong offsetMicroseconds)
{
    if (!canSeek())
        return;
    MediaPlayer& m = ctx_.form1->media();
    const double to = m.currentPosition() + double(offsetMicroseconds) / 1e6;
    if (to >= m.duration()) {
        Next(); // past the end: as the track's end would do
        return;
    }
    ctx_.handle([&] { m.setCurrentPosition(std::max(to, 0.0)); });
    emit Seeked(position());
}

void Mpris::SetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds)
{
    if (!canSeek() || trackId != currentTrack().id || positionMicroseconds < 0)
        return;
    MediaPlayer& m = ctx_.form1->media();
    const double to = double(positionMicroseconds) / 1e6;
    if (to > m.duration())
        return;
    ctx_.handle([&] { m.setCurrentPosition(to); });
    emit Seeked(position());
}

void Mpris::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (!ctx_.form1 || !url.isLocalFile())
        return;
    const std::string path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    Form1* f = ctx_.form1;
    ctx_.handle([f, &path] { f->openPath(path); });
    publishChanges();
}

QString Mpris::playbackStatus() const
{
    if (!ctx_.form1)
        return "Stopped";
    return mediakeys::playbackStatus(ctx_.form1->media().playState(), ctx_.form1->playMode());
}

const Mpris::Track& Mpris::currentTrack() const
{
    const std::string path = ctx_.form1 ? ctx_.form1->media().entryPath() : std::string();
    // To the nanosecond: a tag saved within the second of the last look
    // still shows.
    std::error_code ec;
    const auto modified = path.empty() ? std::filesystem::file_time_type() : std::filesystem::last_write_time(path, ec);
    if (path == track_.path && modified == track_.modified && !track_.id.path().isEmpty())
        return track_;
    if (path != track_.path || track_.id.path().isEmpty())
        track_.id = QDBusObjectPath(
            path.empty() ? QString(kNoTrack) : QString("/it/zondari/Zondari/track/%1").arg(++trackCount_));
    track_.path = path;
    track_.modified = modified;
    track_.title = track_.artist = track_.album = track_.url = QString();
    if (path.empty())
        return track_;
    // The tag editor may have changed the tag since: read again on a new
    // modification time.
    const auto read = ReadTag(path);
    const mediakeys::TrackText text = mediakeys::trackText(path, read ? read->tag : std::nullopt);
    track_.title = QString::fromStdString(text.title);
    track_.artist = QString::fromStdString(text.artist);
    track_.album = QString::fromStdString(text.album);
    track_.url = fileUrl(path);
    return track_;
}

QVariantMap Mpris::metadata() const
{
    const Track& t = currentTrack();
    QVariantMap m;
    m["mpris:trackid"] = QVariant::fromValue(t.id);
    if (t.path.empty())
        return m;
    m["xesam:title"] = t.title;
    if (!t.artist.isEmpty())
        m["xesam:artist"] = QStringList{t.artist};
    if (!t.album.isEmpty())
        m["xesam:album"] = t.album;
    m["xesam:url"] = t.url;
    // Known once the player has opened the file.
    if (const auto length = mediakeys::microseconds(ctx_.form1->media().duration()); length > 0)
        m["mpris:length"] = qlonglong(length);
    return m;
}

double Mpris::volume() const
{
    return ctx_.form1 ? volumeGain(ctx_.form1->media().volume()) : 1.0;
}

void Mpris::setVolume(double gain)
{
    if (ctx_.form1)
        ctx_.form1->media().setVolume(volumeOfGain(gain));
    publishChanges();
}

qlonglong Mpris::position() const
{
    return ctx_.form1 ? mediakeys::microseconds(ctx_.form1->media().currentPosition()) : 0;
}

bool Mpris::canGoNext() const
{
    return hasTracks();
}

bool Mpris::canPlay() const
{
    return hasTracks();
}

bool Mpris::canPause() const
{
    return hasTracks();
}

bool Mpris::canSeek() const
{
    return ctx_.form1 && !ctx_.form1->media().entryPath().empty() && ctx_.form1->media().duration() > 0;
}

QVariantMap Mpris::playerProperties() const
{
    return {
        {"PlaybackStatus", playbackStatus()},
        {"Metadata", metadata()},
        {"Volume", volume()},
        {"CanGoNext", canGoNext()},
        {"CanGoPrevious", canGoNext()},
        {"CanPlay", canPlay()},
        {"CanPause", canPause()},
        {"CanSeek", canSeek()},
    };
}

void Mpris::emitChanges(const QString& interface, const QVariantMap& now, QVariantMap& before)
{
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (!before.contains(it.key()) || before.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    before = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal
        = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << interface << changed << QStringList();
    bus_.send(signal);
}

void Mpris::publishChanges()
{
    if (service_.isEmpty())
        return;
    // The root interface's properties stay as they are for the whole run.
    emitChanges(kPlayerInterface, playerProperties(), playerBefore_);
}

bool openInRunningPlayer(const std::string& absolutePath)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString uri = fileUrl(absolutePath);
    QDBusMessage open
        = QDBusMessage::createMethodCall(Mpris::kServiceName, Mpris::kObjectPath, kPlayerInterface, "OpenUri");
    open << uri;
    if (bus.call(open, QDBus::Block, 5000).type() != QDBusMessage::ReplyMessage)
        return false;
    bus.call(QDBusMessage::createMethodCall(Mpris::kServiceName, Mpris::kObjectPath, kRootInterface, "Raise"),
        QDBus::Block, 5000);
    return true;
}

} // namespace zondari

#include "mpris.moc"
