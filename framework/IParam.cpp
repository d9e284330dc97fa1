#include "framework/IParam.h"

#include "framework/IParamShape.h"
#include "framework/NoteName.h"
#include "platform/sys/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <typeinfo>

namespace vx {

namespace {

constexpr int kFormatBound = 32;
constexpr int kJsonPieceBound = 8192;

// Cuts a too-long text before the character that would cross the limit, so a
// multi-byte UTF-8 sequence is never split.
void CopyText(char (&dest)[IParam::kMaxTextLength + 1], std::string_view text) {
    const size_t length = sys::Utf8PrefixLength(text, IParam::kMaxTextLength);
    if (length > 0)
        std::memcpy(dest, text.data(), length);
    dest[length] = '\0';
}

std::string_view TextOrEmpty(const char* text) {
    return text ? std::string_view(text) : std::string_view();
}

void AppendJsonEscaped(VxString& json, const char* text) {
    std::string escaped;
    for (const char* c = text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte == '"' || byte == '\\') {
            escaped += '\\';
            escaped += *c;
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            escaped += "\\u00";
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0xF];
        } else {
            escaped += *c;
        }
    }
    json.AppendFormatted(kJsonPieceBound, "\"name\":\"%s\", ", escaped.c_str());
}

// The number of decimals that shows every multiple of step exactly, up to 6.
int PrecisionForStep(double step) {
    if (std::floor(step) == step)
        return 0;
    double scaled = step;
    for (int decimals = 1; decimals <= 5; ++decimals) {
        scaled *= 10.0;
        if (std::floor(scaled) == scaled)
            return decimals;
    }
    return 6;
}

} // namespace

IParam::IParam() : m_shape(std::make_unique<ShapeLinear>()) {}

IParam::~IParam() = default;

const IParam::Shape& IParam::LinearShape() {
    static const ShapeLinear linear;
    return linear;
}

double IParam::Constrain(double value) const {
    // A step of 0 would make every value NaN.
    if ((m_flags & kFlagStepped) && m_step != 0.0)
        value = std::round(value / m_step) * m_step;
    return std::min(m_max, std::max(m_min, value));
}

void IParam::Set(double value) {
    m_value.exchange(Constrain(value));
}

double IParam::FromNormalised(double normalised) const {
    return Constrain(m_shape->NormalisedToValue(normalised, *this));
}

double IParam::ToNormalised(double value) const {
    const double normalised = m_shape->ValueToNormalised(Constrain(value), *this);
    return std::isnan(normalised) ? 0.0 : std::clamp(normalised, 0.0, 1.0);
}

void IParam::SetTypeIfNone(int type) {
    if (m_type == kTypeNone)
        m_type = type;
}

void IParam::SetUpDouble(const char* name, double defaultValue, double min, double max, double step,
                         const char* label, int flags, const char* group, const Shape& shape,
                         int unit, DisplayFunc displayFunc) {
    SetTypeIfNone(kTypeDouble);
    CopyText(m_name, TextOrEmpty(name));
    CopyText(m_label, TextOrEmpty(label));
    CopyText(m_group, TextOrEmpty(group));
    m_min = min;
    m_max = std::max(max, min + step);
    m_step = step;
    m_default = defaultValue;
    m_unit = unit;
    m_flags = flags;
    m_displayFunc = std::move(displayFunc);
    m_value.store(Constrain(defaultValue));
    m_displayPrecision = PrecisionForStep(step);
    // Cloned before the old shape goes: shape may be our own (a copy of itself).
    m_shape = shape.Clone();
    m_shape->Init(*this);
}

void IParam::SetUpBool(const char* name, bool defaultValue, const char* label, int flags,
                       const char* group, const char* offText, const char* onText) {
    SetTypeIfNone(kTypeBool);
    SetUpDouble(name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, flags | kFlagStepped, group);
    SetDisplayLabel(0.0, offText);
    SetDisplayLabel(1.0, onText);
}

void IParam::SetUpInt(const char* name, int defaultValue, int min, int max, const char* label,
                      int flags, const char* group) {
    SetTypeIfNone(kTypeInt);
    SetUpDouble(name, defaultValue, min, max, 1.0, label, flags | kFlagStepped, group);
}

bool IParam::SetUpEnumTexts(const char* name, int defaultValue, int count, const char* label,
                            int flags, const char* group, std::span<const char* const> texts) {
    SetTypeIfNone(kTypeEnum);
    SetUpDouble(name, defaultValue, 0.0, count - 1.0, 1.0, label, flags | kFlagStepped, group);
    const char* firstText = texts.front();
    if (!firstText)
        return texts.size() == 1;
    if (count < 1 || texts.size() != static_cast<size_t>(count))
        return false;
    bool stored = true;
    for (size_t i = 0; i < texts.size(); ++i)
        stored = SetDisplayLabel(static_cast<double>(i), texts[i]) && stored;
    return stored;
}

void IParam::SetUpEnumFromList(const char* name, int defaultValue,
                               std::span<const char* const> texts, int flags, const char* group) {
    SetTypeIfNone(kTypeEnum);
    SetUpDouble(name, defaultValue, 0.0, static_cast<double>(texts.size()) - 1.0, 1.0, "",
                flags | kFlagStepped, group);
    for (size_t i = 0; i < texts.size(); ++i)
        SetDisplayLabel(static_cast<double>(i), texts[i]);
}

void IParam::SetUpNoteName(const char* name, int defaultValue, int lowestNote, int highestNote,
                           int flags, const char* group, bool middleCIsC4) {
    SetTypeIfNone(kTypeEnum);
    const long long span = static_cast<long long>(highestNote) - lowestNote;
    SetUpDouble(name, defaultValue, 0.0, static_cast<double>(span), 1.0, "", flags | kFlagStepped,
                group);
    VxString text;
    for (long long i = 0; i <= span; ++i) {
        FormatNoteName(static_cast<int>(lowestNote + i), middleCIsC4, text);
        if (!SetDisplayLabel(static_cast<double>(i), text.Get()))
            break;
    }
}

void IParam::SetUpFrequency(const char* name, double defaultValue, double min, double max,
                            double step, int flags, const char* group) {
    SetUpDouble(name, defaultValue, min, max, step, "Hz", flags, group, ShapeExp(), kUnitFrequency);
}

void IParam::SetUpSeconds(const char* name, double defaultValue, double min, double max,
                          double step, int flags, const char* group) {
    SetUpDouble(name, defaultValue, min, max, step, "Seconds", flags, group, LinearShape(),
                kUnitSeconds);
}

void IParam::SetUpMilliseconds(const char* name, double defaultValue, double min, double max,
                               int flags, const char* group) {
    SetUpDouble(name, defaultValue, min, max, 1.0, "ms", flags, group, LinearShape(),
                kUnitMilliseconds);
}

void IParam::SetUpGain(const char* name, double defaultValue, double min, double max, double step,
                       int flags, const char* group) {
    SetUpDouble(name, defaultValue, min, max, step, "dB", flags, group, LinearShape(), kUnitDB);
}

void IParam::SetUpPercentage(const char* name, double defaultValue, double min, double max,
                             int flags, const char* group) {
    SetUpDouble(name, defaultValue, min, max, 1.0, "%", flags, group, LinearShape(),
                kUnitPercentage);
}

void IParam::SetUpAngle(const char* name, double defaultValue, double min, double max, int flags,
                        const char* group) {
    SetUpDouble(name, defaultValue, min, max, 1.0, "degrees", flags, group, LinearShape(),
                kUnitDegrees);
}

void IParam::SetUpFromCopy(const IParam& source, const char* searchText,
                           const char* replacementText, const char* newGroup) {
    std::string name = source.m_name;
    const std::string_view search = TextOrEmpty(searchText);
    if (!search.empty()) {
        if (const size_t at = name.find(search); at != std::string::npos)
            name.replace(at, search.size(), TextOrEmpty(replacementText));
    }
    const std::string group = TextOrEmpty(newGroup).empty() ? source.m_group : newGroup;
    // Taken before anything changes, so a parameter can be set up from itself.
    const VxHeapBuf sourceTexts = source.m_displayTexts;
    const std::string label = source.m_label;

    SetTypeIfNone(source.m_type);
    SetUpDouble(nullptr, source.m_default, source.m_min, source.m_max, source.m_step, label.c_str(),
                source.m_flags, group.c_str(), *source.m_shape, source.m_unit,
                source.m_displayFunc);
    CopyText(m_name, name);

    const auto* texts = static_cast<const DisplayText*>(sourceTexts.Get());
    const int count = sourceTexts.GetSize() / int{sizeof(DisplayText)};
    for (int i = 0; i < count; ++i)
        SetDisplayLabel(texts[i].value, texts[i].text);
}

bool IParam::SetDisplayLabel(double value, const char* text) {
    const int count = DisplayTextCount();
    const int newSize = (count + 1) * int{sizeof(DisplayText)};
    m_displayTexts.Resize(newSize, false);
    if (m_displayTexts.GetSize() != newSize)
        return false;
    auto& entry = static_cast<DisplayText*>(m_displayTexts.Get())[count];
    entry.value = value;
    CopyText(entry.text, TextOrEmpty(text));
    return true;
}

const IParam::DisplayText* IParam::DisplayTexts() const {
    return static_cast<const DisplayText*>(m_displayTexts.Get());
}

int IParam::DisplayTextCount() const {
    return m_displayTexts.GetSize() / int{sizeof(DisplayText)};
}

const char* IParam::DisplayTextAt(int index, double* value) const {
    if (index < 0 || index >= DisplayTextCount())
        return nullptr;
    if (value)
        *value = DisplayTexts()[index].value;
    return DisplayTexts()[index].text;
}

const char* IParam::DisplayTextFor(double value) const {
    const int count = DisplayTextCount();
    for (int i = 0; i < count; ++i) {
        if (DisplayTexts()[i].value == value)
            return DisplayTexts()[i].text;
    }
    return "";
}

bool IParam::FindDisplayText(const char* text, double& value) const {
    const std::string_view wanted = TextOrEmpty(text);
    const int count = DisplayTextCount();
    for (int i = 0; i < count; ++i) {
        if (wanted == DisplayTexts()[i].text) {
            value = DisplayTexts()[i].value;
            return true;
        }
    }
    return false;
}

void IParam::FormatDisplay(double value, bool normalised, VxString& text,
                           bool withDisplayTexts) const {
    if (normalised)
        value = FromNormalised(value);
    if (m_displayFunc) {
        m_displayFunc(value, text);
        return;
    }
    if (withDisplayTexts) {
        if (const char* fixed = DisplayTextFor(value); *fixed) {
            text.SetBounded(fixed, kFormatBound);
            return;
        }
    }
    double shown = (m_flags & kFlagNegateDisplay) ? -value : value;
    if (shown == 0.0)
        shown = 0.0;
    if (m_displayPrecision == 0) {
        // Rounded as a double, so values beyond the int range still print;
        // -0.4 rounds to a negative zero, which must print as 0.
        double rounded = std::round(shown);
        if (rounded == 0.0)
            rounded = 0.0;
        text.SetFormatted(kFormatBound, "%.0f", rounded);
    } else if ((m_flags & kFlagSignDisplay) && value != 0.0) {
        text.SetFormatted(kFormatBound, "%+.*f", m_displayPrecision, shown);
    } else {
        text.SetFormatted(kFormatBound, "%.*f", m_displayPrecision, shown);
    }
}

double IParam::ValueFromText(const char* text) const {
    if (!text)
        text = "";
    double value = 0.0;
    if (FindDisplayText(text, value))
        return value;
    if (m_type == kTypeBool || m_type == kTypeEnum)
        return 0.0;
    value = std::strtod(text, nullptr);
    if (m_flags & kFlagNegateDisplay)
        value = -value;
    return Constrain(value);
}

const char* IParam::UnitLabel() const {
    return *DisplayTextFor(std::trunc(CurrentValue())) ? "" : m_label;
}

int IParam::ShapeKind() const {
    const Shape& shape = *m_shape;
    const std::type_info& kind = typeid(shape);
    if (kind == typeid(ShapeLinear))
        return 0;
    if (kind == typeid(ShapePowCurve))
        return 1;
    if (kind == typeid(ShapeExp))
        return 2;
    return 3;
}

double IParam::ShapePower() const {
    const auto* curve = dynamic_cast<const ShapePowCurve*>(m_shape.get());
    return curve ? curve->Power() : 0.0;
}

void IParam::WriteJSON(VxString& json, int id) const {
    static constexpr const char* kTypeNames[] = {"", "bool", "int", "enum", "float"};
    json.AppendFormatted(kJsonPieceBound, "{");
    json.AppendFormatted(kJsonPieceBound, "\"id\":%i, ", id);
    AppendJsonEscaped(json, m_name);
    if (m_type >= kTypeBool && m_type <= kTypeDouble)
        json.AppendFormatted(kJsonPieceBound, "\"type\":\"%s\", ", kTypeNames[m_type]);
    json.AppendFormatted(kJsonPieceBound, "\"min\":%f, ", m_min);
    json.AppendFormatted(kJsonPieceBound, "\"max\":%f, ", m_max);
    json.AppendFormatted(kJsonPieceBound, "\"default\":%f, ", m_default);
    json.AppendFormatted(kJsonPieceBound, "\"display_type\":%i, ", m_shape->DisplayKind());
    json.AppendFormatted(kJsonPieceBound, "\"rate\":\"control\"");
    json.AppendFormatted(kJsonPieceBound, "}");
}

} // namespace vx
