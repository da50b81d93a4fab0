#include "ui/output_check.h"

#include "schedule/number_text.h"

namespace quorel {

bool outputFieldAccepted(const std::string& text, int upperBound) {
    const double value = leadingNumber(text);
    return value >= 1 && value <= upperBound;
}

} // namespace quorel
