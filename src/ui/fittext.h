#pragma once
// Nothing a box shows is cut off: a value too long for its line box is shown
// in a smaller font, down to a readable least size, rather than losing
// characters at either end. The box keeps its design font for values that fit.
class QLineEdit;

namespace zelva {

// From now on, whenever its text changes, the box's font is the design font
// or the largest smaller size at which the whole text fits.
void ShrinkToFit(QLineEdit* box);

} // namespace zelva
