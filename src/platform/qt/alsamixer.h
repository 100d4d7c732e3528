#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/mixer.h"

namespace zondari {

// The mixer on ALSA's simple mixer interface. It needs no Qt, but lives
// beside the program's other desktop services so that zondari-cli does not
// link the sound library. The speakers' volume is the playback volume of
// the first of `elements` that the device has.
class AlsaMixer : public Mixer {
public:
    explicit AlsaMixer(std::string device = "default", std::vector<std::string> elements = {"Master", "PCM"});
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    BasicStatus<MixerError> open() override;
    void close() override;
    bool isOpen() const override;
    Result<MixerControl, MixerError> speakersVolume() override;
    BasicStatus<MixerError> setValue(const MixerControl& control, std::int32_t value) override;
    Result<std::int32_t, MixerError> getValue(const MixerControl& control) override;

private:
    struct Handle;
    std::string device_;
    std::vector<std::string> elements_;
    std::unique_ptr<Handle> handle_;
};

} // namespace zondari
