#pragma once

namespace velmo {

class SubtitleStyle;

/// Applies a caption-look command to `style` in memory: flips the flag, steps
/// Position within 0..100 or Size within 10..80, or swaps Style between 400
/// and 700; the size and weight commands rebuild the font (also when the size
/// is at its bound). Nothing is written to the settings file.
void ApplySubtitleCommand(SubtitleStyle &style, int id);

} // namespace velmo
