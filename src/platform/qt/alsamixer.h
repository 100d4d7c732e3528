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

    MixerResult open() override;
    void close() override;
    bool isOpen() const override;
    MixerResult speakersVolume(MixerControl& control) override;
    MixerResult setValue(const MixerControl& control, std::int32_t value) override;
    MixerResult getValue(const MixerControl& control, std::int32_t& value) override;

private:
    struct Handle;
    std::string device_;
    std::vector<std::string> elements_;
    std::unique_ptr<Handle> handle_;
};

}  // namespace zondari
