#pragma once

#include <cstdint>
#include <string>

#include "core/common/result.h"

namespace zondari {

// Why a mixer call failed, numbered as the multimedia mixer numbers its
// results (0 is success).
enum class MixerError : std::int32_t {
    Error = 1, // any other failure
    BadDevice = 2, // no mixer device of that name
    NotOpen = 5, // the mixer is not open
    NoMemory = 7,
    InvalidLine = 1024, // no speakers line with a volume control
    InvalidControl = 1025,
    InvalidValue = 1026, // a value outside the control's bounds
};

// A volume control: the mixer's name for it and its bounds.
struct MixerControl {
    std::string name;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

// The system's audio mixer, as far as the master volume needs it: open it,
// find the speakers' volume control, set and read its value.
class Mixer {
public:
    virtual ~Mixer() = default;

    virtual BasicStatus<MixerError> open() = 0;
    // Releases the mixer; nothing happens when it is not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The volume control of the speakers line.
    virtual Result<MixerControl, MixerError> speakersVolume() = 0;

    // Sets every channel of the control to `value`, which must lie within
    // the bounds.
    virtual BasicStatus<MixerError> setValue(const MixerControl& control, std::int32_t value) = 0;

    // The control's value as the system has it now (the loudest channel).
    virtual Result<std::int32_t, MixerError> getValue(const MixerControl& control) = 0;
};

} // namespace zondari
