#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "core/analysis/mp3analysis.h"
#include "core/tags/id3v2.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zondari {

class AppContext;

// The track details window: the first frame header, the VBR state, the play
// time and the ID3v1 tag of one MP3 file, as `riempimp3` fills them.
class frmDATIMP3 : public QWidget {
    Q_OBJECT
public:
    explicit frmDATIMP3(AppContext& ctx, QWidget* parent = nullptr);

    // Places the window: at the catalogue window's corner (beside the player
    // when there is none), 3650 twips wide, as tall as the player.
    void Load();

    // Shows `info` in the fields.
    void fill(const TrackInfo& info);
    void clearFields();
    // Shows the ID3v2 block under the ID3v1 fields ("ID3v2: assente" without
    // a tag) and makes the window tall enough for it.
    void fillId3v2(const Id3v2Tag& tag);
    // "ReplayGain +6.00 dB" under the VBR line, when the track has a gain.
    void showGain(std::optional<double> gainDb);

    void Command2_Click();
    void Picture7_Click();

    std::array<QLineEdit*, mp3::kDetailCount> Text1{};
    std::array<QLabel*, id3v2::kFieldCount> id3v2Labels{};
    std::array<QLineEdit*, id3v2::kFieldCount> id3v2Fields{};

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The window's controls, reached by tests through their object names.
    QLabel* Label20;
    QPushButton* Command2;
    QLabel* Picture7;
    QLabel* Picture1;
    QLabel* id3v2Caption;
    QLabel* replayGain; // the track's gain, when it has one

    void growToFit();

    AppContext& ctx_;
};

// The details routine: analyses `file` (a bare name in the player's folder)
// when its name ends in ".mp3", keeps the result in the program's state and
// shows it in `window` when there is one.
void riempimp3(AppContext& ctx, frmDATIMP3* window, const std::string& file);

} // namespace zondari
