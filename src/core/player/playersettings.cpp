#include "core/player/playersettings.h"

#include <charconv>
#include <cmath>

namespace zondari {

PlayerSettings parsePlayerSettings(std::string_view text)
{
    PlayerSettings s;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "ReplayGain") {
            s.replayGain = value == "1";
        } else if (key == "Riprendi") {
            s.resume = value == "1";
        } else if (key == "Brano") {
            s.track = value;
        } else if (key == "Posizione") {
            double seconds = 0.0;
            const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            s.position = error == std::errc() && std::isfinite(seconds) && seconds > 0.0 ? seconds : 0.0;
        }
    }
    return s;
}

std::string formatPlayerSettings(const PlayerSettings& settings)
{
    // Whatever the locale, a point before the decimals.
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, settings.position, std::chars_format::fixed, 3);
    const std::string position(buffer, written.ec == std::errc() ? written.ptr : buffer);
    return std::string("; Lettore di Zondari\r\n") + "ReplayGain=" + (settings.replayGain ? "1" : "0") + "\r\n"
        + "Riprendi=" + (settings.resume ? "1" : "0") + "\r\n" + "Brano=" + settings.track + "\r\n"
        + "Posizione=" + position + "\r\n";
}

} // namespace zondari
