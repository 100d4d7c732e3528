#pragma once

#include <QWidget>
#include <array>

#include "core/mixer/crossfader.h"
#include "core/mixer/deck.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QTimer;

namespace zondari {

class AppContext;
class DirListBox;
class DriveListBox;
class FileListBox;
class MediaPlayer;
class MediaPlayerControl;

// The DJ mixer: two decks, each with its own drive, folder and file lists,
// media player, position slider and title ticker; a crossfader between the
// decks' volumes; a button that fades from the deck being heard to the
// other, and the settings of the automatic mix that does the same near the
// end of a track.
class mp3MIXER : public QWidget {
    Q_OBJECT
public:
    explicit mp3MIXER(AppContext& ctx, QWidget* parent = nullptr);
    ~mp3MIXER() override;

    // Volumes, decks on the player window's folder, the place beside the
    // frame's corner, the sliders.
    void Load();

    void HScroll1_Change();
    void Command1_Click();
    void Command2_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void File1_DblClick();
    void File2_DblClick();
    void Slider1_Change();
    void Slider2_Change();
    void Check1_Click();
    void Check2_Click();
    void Dir1_Change();
    void Dir2_Change();
    void Drive1_Change();
    void Drive2_Change();

    // Closed (by "Uscita" or by its frame) and waiting to be deleted.
    bool unloaded() const { return unloaded_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The controls between the decks; each deck's are in decks_. Tests
    // reach them all by their object names.
    QLabel* Label3;
    QScrollBar* HScroll1; // the crossfader
    QLineEdit* Text1; // the deck being heard, "1" or "2"
    QPushButton* Command1;
    QPushButton* Command2;
    QGroupBox* Frame3;
    QLineEdit* Text2; // seconds before the end to start the crossfade
    QLineEdit* Text3; // seconds before the crossfade to start the other deck
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QTimer* Timer1; // crossfade towards the right deck
    QTimer* Timer2; // crossfade towards the left deck
    QTimer* Timer3; // tickers and the automatic mix

    // One deck's controls, so that both decks share their handlers.
    struct Deck {
        QGroupBox* frame = nullptr;
        DriveListBox* drive = nullptr;
        DirListBox* dir = nullptr;
        FileListBox* file = nullptr;
        QCheckBox* check = nullptr;
        MediaPlayerControl* player = nullptr;
        QLabel* speed = nullptr;
        QSlider* slider = nullptr;
        QLabel* value = nullptr;
        QLabel* ticker = nullptr;
        mixer::Ticker scroller;
        // The file loaded last could not be played, and the deck has not
        // been stopped since: its ticker says so.
        bool reportFailure = false;

        MediaPlayer& media() const;
    };

    Deck buildDeck(int number, const char* caption);
    void buildLayout();
    void connectDeck(int index);

    void loadDeck(Deck& deck);
    void sliderChange(Deck& deck);
    void checkClick(Deck& deck);
    void driveChange(Deck& deck);
    void tick(Deck& deck);
    void fadeTick(mixer::Fade direction, QTimer* timer, Deck& fadedOut);
    void autoMix();
    void stopDecks();

    AppContext& ctx_;
    std::array<Deck, 2> decks_;
    bool unloaded_ = false;
};

} // namespace zondari
