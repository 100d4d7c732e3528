#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <filesystem>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace zondari {

class AppContext;
class PlayerPort;

// The player window on the session bus as an MPRIS 2 media player
// ("org.mpris.MediaPlayer2.zondari"), so that the keyboard's media keys and
// the desktop's sound applet drive it. Every command goes through the
// player's port to the window's own handlers: the toolbar's play/pause
// button, a click on a row of the grid, the player's stop; Next and Previous
// choose the row as the automatic advance does. The bus is told of every
// change of what it can read (PropertiesChanged), whatever made the change,
// as the port announces it. Once the player window is gone, nothing can be
// played and every command does nothing.
class Mpris : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.zondari";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    explicit Mpris(AppContext& ctx, QObject* parent = nullptr);
    ~Mpris() override;

    // Takes the player's name on `bus` and serves it; when another Zondari
    // holds the name, this one takes "…zondari.instance<pid>", as MPRIS
    // asks of a second instance. False, and nothing said, without a bus.
    bool registerOn(QDBusConnection bus);
    bool registerOnSessionBus() { return registerOn(QDBusConnection::sessionBus()); }
    // The name taken on the bus; empty when none.
    QString serviceName() const { return service_; }

    // org.mpris.MediaPlayer2
    void Raise();
    void Quit();

    // org.mpris.MediaPlayer2.Player
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offsetMicroseconds);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds);
    void OpenUri(const QString& uri);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double gain);
    qlonglong position() const;
    bool canGoNext() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;

    // Looks at the player now and tells the bus what changed since it last
    // looked; the port's announcements bring it here.
    void publishChanges();

signals:
    void Seeked(qlonglong positionMicroseconds);

private:
    struct Track {
        std::string path;
        std::filesystem::file_time_type modified;
        QDBusObjectPath id;
        QString title, artist, album, url;
    };
    bool hasTracks() const;
    // The track in the player, read again when it or its tag changed.
    const Track& currentTrack() const;
    QVariantMap playerProperties() const;
    void emitChanges(const QString& interface, const QVariantMap& now, QVariantMap& before);

    AppContext& ctx_;
    PlayerPort& player_;
    QDBusConnection bus_;
    QString service_;
    QTimer* publish_;
    QFileSystemWatcher* tagWatch_;
    mutable Track track_;
    mutable unsigned trackCount_ = 0;
    QVariantMap playerBefore_;
};

// Hands a file or folder to a Zondari that already runs on the session bus
// (a file chosen in the file manager while the program is open): it opens
// it and comes forward. False when none answers.
bool openInRunningPlayer(const std::string& absolutePath);
// The same with an address ("file://", "zondari:"), handed on as it is.
bool openAddressInRunningPlayer(const std::string& address);

} // namespace zondari
