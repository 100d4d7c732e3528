#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace zondari::test {

// Plays the person at the modal windows of type W that the program opens
// while the object lives: each one that comes up gets the next step. A
// window still up after its step, or one that comes when no step is left,
// is closed, so that a failed check never leaves a test waiting; every step
// must have run by the time the object goes.
template <class W> class ModalSteps : public QObject {
public:
    using Step = std::function<void(W&)>;
    explicit ModalSteps(std::deque<Step> steps)
        : steps_(std::move(steps))
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
            if (!w)
                return;
            if (steps_.empty()) {
                ADD_FAILURE() << "a window came up that no step was waiting for";
            } else {
                const Step step = std::move(steps_.front());
                steps_.pop_front();
                step(*w);
            }
            if (w->isVisible())
                w->reject();
        });
        timer_.start(5);
    }
    ~ModalSteps() override { EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps left"; }

private:
    std::deque<Step> steps_;
    QTimer timer_;
};

} // namespace zondari::test
