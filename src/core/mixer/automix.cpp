#include "core/mixer/automix.h"

#include "core/common/text.h"

namespace zondari::mixer {

AutoMixStep autoMixStep(const AutoMixScene& scene, std::string_view lead, std::string_view otherLead)
{
    const DeckNow& deck = scene.heard;
    if (scene.crossfadeRunning || !scene.otherHasTrack || !deck.playing || !(deck.duration > 0.0))
        return {};
    const double fadeLead = text::val(lead);
    const double startLead = fadeLead + text::val(otherLead);
    return {deck.position > deck.duration - fadeLead, deck.position > deck.duration - startLead};
}

int deckNamed(std::string_view text)
{
    const double n = text::val(text);
    if (n == 1.0)
        return 1;
    if (n == 2.0)
        return 2;
    return 0;
}

} // namespace zondari::mixer
