#include "play/UndoHistory.h"

#include "puzzle/NumberRoutines.h"

namespace corvana {

namespace {

// The leading whole number of a text, with an optional sign; nullopt when there is none or it
// does not fit in 16 bits.
std::optional<int> Val16(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        digits = true;
        // Past the magnitude of -32768 no sign makes it fit; stopping here keeps a long run of
        // digits from overflowing.
        if (value > 32768)
            return std::nullopt;
    }
    if (!digits)
        return 0;
    value = negative ? -value : value;
    if (value > 32767)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

void UndoHistory::Clear() {
    count_ = 0;
    steps_.clear();
}

void UndoHistory::Record(std::vector<UndoStep> steps) {
    count_ = static_cast<std::int64_t>(steps.size());
    steps_.assign(steps.begin(), steps.end());
}

std::vector<std::string> UndoHistory::ToText() const {
    std::vector<std::string> text{std::to_string(count_)};
    for (const auto& step : steps_)
        text.push_back(step ? StepText(*step) : std::string());
    return text;
}

UndoHistory UndoHistory::FromText(const std::vector<std::string>& text) {
    UndoHistory history;
    if (text.empty())
        return history;
    history.count_ = LeadingNumber(text[0]);
    for (std::size_t k = 1; k < text.size(); ++k)
        history.steps_.push_back(ParseStep(text[k]));
    return history;
}

std::string UndoHistory::StepText(const UndoStep& step) {
    return std::to_string(step.cell) + "," + std::to_string(step.oldValue) + "," +
           std::to_string(step.newValue);
}

std::optional<UndoStep> UndoHistory::ParseStep(const std::string& text) {
    const auto p1 = text.find(',');
    if (p1 == std::string::npos)
        return std::nullopt;
    const auto p2 = text.find(',', p1 + 1);
    if (p2 == std::string::npos)
        return std::nullopt;
    // Each field is read up to the first character that is no digit, the comma after it included.
    const auto cell = Val16(text);
    const auto oldValue = Val16(text.substr(p1 + 1));
    const auto newValue = Val16(text.substr(p2 + 1));
    if (!cell || !oldValue || !newValue)
        return std::nullopt;
    return UndoStep{*cell, *oldValue, *newValue};
}

} // namespace corvana
