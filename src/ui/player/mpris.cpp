#include "ui/player/mpris.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QFile>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "buildinfo.h"
#include "core/catalogue/playaddress.h"
#include "core/common/text.h"
#include "core/player/mediakeys.h"
#include "core/player/mediavolume.h"
#include "core/player/playstate.h"
#include "platform/mp3file.h"
#include "ui/appcontext.h"
#include "ui/catalogue/playentry.h"
#include "ui/shell/mdiform1.h"

namespace zondari {

namespace {

constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

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
    QStringList uriSchemes() const { return {"file", "zondari"}; }
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
    , player_(ctx.player)
    , bus_(QString())
    , publish_(new QTimer(this))
    , tagWatch_(new QFileSystemWatcher(this))
{
    new MprisRoot(this);
    new MprisPlayer(this);
    // Told once, after the handler that made the changes has finished, with
    // all of them: never a state halfway through a command.
    publish_->setSingleShot(true);
    publish_->setInterval(0);
    connect(publish_, &QTimer::timeout, this, &Mpris::publishChanges);
    connect(&player_, &PlayerPort::changed, publish_, qOverload<>(&QTimer::start));
    // The tag editor, or any tagger, saving the track in play.
    connect(tagWatch_, &QFileSystemWatcher::fileChanged, publish_, qOverload<>(&QTimer::start));
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
    return true;
}

bool Mpris::hasTracks() const
{
    return player_.trackCount() > 0;
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
        ctx_.slot(frame, &MDIForm1::MenuEsci_Click)();
}

void Mpris::Next()
{
    player_.next();
}

void Mpris::Previous()
{
    player_.previous();
}

void Mpris::Play()
{
    player_.play();
}

void Mpris::Pause()
{
    player_.pause();
}

void Mpris::PlayPause()
{
    if (player_.playState() == kPlaying)
        Pause();
    else
        Play();
}

void Mpris::Stop()
{
    // The player's own stop: the position goes back to the start, which
    // ends the play mode.
    player_.stop();
}

void Mpris::Seek(qlonglong offsetMicroseconds)
{
    if (!canSeek())
        return;
    const double to = player_.position() + double(offsetMicroseconds) / 1e6;
    if (to >= player_.duration()) {
        Next(); // past the end: as the track's end would do
        return;
    }
    player_.seek(std::max(to, 0.0));
    emit Seeked(position());
}

void Mpris::SetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds)
{
    if (!canSeek() || trackId != currentTrack().id || positionMicroseconds < 0)
        return;
    const double to = double(positionMicroseconds) / 1e6;
    if (to > player_.duration())
        return;
    player_.seek(to);
    emit Seeked(position());
}

void Mpris::OpenUri(const QString& uri)
{
    // A catalogue entry, from the pocket page or zondari-cli suona: after
    // the reply, as it may ask the person which disc to insert.
    if (uri.startsWith(catalogue::kAddressScheme.data())) {
        QTimer::singleShot(
            0, this, [this, address = uri.toStdString()] { ctx_.handle([&] { openAddress(ctx_, address); }); });
        return;
    }
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    player_.openPath(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
}

QString Mpris::playbackStatus() const
{
    return mediakeys::playbackStatus(player_.playState(), player_.playMode());
}

const Mpris::Track& Mpris::currentTrack() const
{
    const std::string path = player_.currentTrack();
    // To the nanosecond: a tag saved within the second of the last look
    // still shows.
    std::error_code ec;
    const auto modified = path.empty() ? std::filesystem::file_time_type() : std::filesystem::last_write_time(path, ec);
    if (path == track_.path && modified == track_.modified && !track_.id.path().isEmpty())
        return track_;
    if (path != track_.path) {
        if (!tagWatch_->files().isEmpty())
            tagWatch_->removePaths(tagWatch_->files());
        if (!path.empty())
            tagWatch_->addPath(QFile::decodeName(path.c_str()));
    }
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
    if (const auto length = mediakeys::microseconds(player_.duration()); length > 0)
        m["mpris:length"] = qlonglong(length);
    return m;
}

double Mpris::volume() const
{
    return volumeGain(player_.volume());
}

void Mpris::setVolume(double gain)
{
    player_.setVolume(volumeOfGain(gain));
}

qlonglong Mpris::position() const
{
    return mediakeys::microseconds(player_.position());
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
    return !player_.currentTrack().empty() && player_.duration() > 0;
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
    return openAddressInRunningPlayer(fileUrl(absolutePath).toStdString());
}

bool openAddressInRunningPlayer(const std::string& address)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString uri = QString::fromStdString(address);
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
