#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

#include "platform/mixer.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace zondari {

class AppContext;

// The master volume window: the speakers' volume of the system's mixer on
// a slider of its own, a knob (`Image1`) dragged up and down a track
// (`Picture4`). The top of the track is the control's maximum, the bottom
// its minimum.
class frmVolume : public QWidget {
    Q_OBJECT
public:
    frmVolume(AppContext& ctx, std::unique_ptr<Mixer> mixer, QWidget* parent = nullptr);
    // The mixer is released with the window.
    ~frmVolume() override;

    // Opens the mixer and its volume control, puts the knob at the system's
    // volume and places the window beside the player. The system's volume is
    // not changed.
    void Load();

    void Command1_Click();
    // Mouse events on the knob: the button (state) as the mouse reports it
    // (1 left, 2 right, 4 middle), y inside the knob.
    void Image1_MouseDown(int button, double y);
    void Image1_MouseMove(int button, double y);
    void Image1_MouseUp(int button, double y);
    void Timer1_Timer();

    // The knob's travel: the track's height less the knob's.
    int travel() const;
    std::int32_t minimum() const { return control_.minimum; }
    std::int32_t maximum() const { return control_.maximum; }
    // The value last sent to the mixer.
    std::int32_t volumeValue() const { return volumeValue_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The window's controls, reached by tests through their object names.
    QLabel* Picture4; // the track
    QLabel* Image1; // the knob, a child of the track
    QLineEdit* Text1; // the value
    QLabel* Label2; // the minimum
    QLabel* Label3; // the maximum
    QPushButton* Command1;
    QTimer* Timer1; // moves the knob while it is dragged

    void openVolumeControl();
    void prepareSlider();
    void place();
    // Sends the value in Text1 to the mixer.
    void applyVolume();
    void showKnobValue();

    AppContext& ctx_;
    std::unique_ptr<Mixer> mixer_;
    MixerControl control_;
    int dragButton_ = 0;
    double dragPosition_ = 0; // where the knob's top is dragged to, in the track
    std::int32_t volumeValue_ = 0;
};

} // namespace zondari
