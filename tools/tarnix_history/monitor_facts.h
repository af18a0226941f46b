// What an entry's header says of its monitor: maker, model, serial and the glass's size with where
// the size came from ("monitor EDID", "Tarnix.cfg"); each nothing when the header does not say.
#pragma once

#include <optional>
#include <string>

#include "history/history_entry.h"

struct GlassSize {
    double WidthMm = 0.0, HeightMm = 0.0;
    std::string Source;
};

struct MonitorFacts {
    std::optional<std::string> Maker, Model, Serial;
    std::optional<GlassSize> Glass;
};

// From the lines "; Monitor maker: ABC", "; Monitor model: ...", "; Monitor serial: ..." and
// "; Glass size: 1209.6 x 680.4 mm (monitor EDID)"; a size that does not read so is nothing.
MonitorFacts MonitorFactsOf(const HistoryHeader& header);
