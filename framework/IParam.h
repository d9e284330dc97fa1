#pragma once

#include "framework/VxHeapBuf.h"
#include "framework/VxString.h"

#include <atomic>
#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>

namespace vx {

// One parameter: a real value shared between threads, its range, step,
// names and display texts, and a shape that maps it to and from 0..1.
// Everything but the value is written once during set-up on the main thread.
class IParam {
public:
    enum EParamType { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };
    enum EParamUnit {
        kUnitPercentage = 0,
        kUnitSeconds = 1,
        kUnitMilliseconds = 2,
        kUnitDB = 4,
        kUnitDegrees = 8,
        kUnitFrequency = 12,
        kUnitCustom = 21,
    };
    // Other flag bits are stored and carried along.
    enum EFlags { kFlagStepped = 2, kFlagNegateDisplay = 4, kFlagSignDisplay = 8 };

    // Defined in framework/IParamShape.h.
    class Shape;
    class ShapeLinear;
    class ShapePowCurve;
    class ShapeExp;

    using DisplayFunc = std::function<void(double value, VxString& text)>;

    // Names, labels, groups and display texts hold at most this many bytes;
    // longer texts are cut before the UTF-8 character that would not fit.
    static constexpr int kMaxTextLength = 31;

    IParam();
    ~IParam();
    IParam(const IParam&) = delete;
    IParam& operator=(const IParam&) = delete;

    // Value operations; none takes a lock.
    double CurrentValue() const { return m_value.load(); }
    void Set(double value);
    double FromNormalised(double normalised) const;
    double ToNormalised(double value) const;
    void SetNormalised(double normalised) { Set(FromNormalised(normalised)); }
    double GetDefaultNormalised() const { return ToNormalised(m_default); }
    // Steps (when stepped) and clamps to the range, as every write does.
    double Constrain(double value) const;

    // The shape every set-up uses when none is given.
    static const Shape& LinearShape();

    void SetUpDouble(const char* name, double defaultValue, double min, double max, double step,
                     const char* label = "", int flags = 0, const char* group = "",
                     const Shape& shape = LinearShape(), int unit = kUnitCustom,
                     DisplayFunc displayFunc = nullptr);
    void SetUpBool(const char* name, bool defaultValue, const char* label, int flags,
                   const char* group, const char* offText, const char* onText);
    void SetUpInt(const char* name, int defaultValue, int min, int max, const char* label = "",
                  int flags = 0, const char* group = "");

    // Without a first text no display texts are added. With one, exactly
    // count - 1 further texts must follow; on any other number the range is
    // still set up but no display text is added, and the call returns false.
    template <std::convertible_to<const char*>... Texts>
    bool SetUpEnum(const char* name, int defaultValue, int count, const char* label = "",
                   int flags = 0, const char* group = "", const char* firstText = nullptr,
                   Texts... furtherTexts) {
        const char* const texts[] = {firstText, static_cast<const char*>(furtherTexts)...};
        return SetUpEnumTexts(name, defaultValue, count, label, flags, group, texts);
    }
    void SetUpEnumFromList(const char* name, int defaultValue, std::span<const char* const> texts,
                           int flags = 0, const char* group = "");
    void SetUpEnumFromList(const char* name, int defaultValue,
                           std::initializer_list<const char*> texts, int flags = 0,
                           const char* group = "") {
        SetUpEnumFromList(name, defaultValue, std::span(texts.begin(), texts.size()), flags, group);
    }
    // Middle C (note 60) is C4 when middleCIsC4 is set, else C3.
    void SetUpNoteName(const char* name, int defaultValue, int lowestNote, int highestNote,
                       int flags = 0, const char* group = "", bool middleCIsC4 = false);
    void SetUpFrequency(const char* name, double defaultValue, double min, double max, double step,
                        int flags = 0, const char* group = "");
    void SetUpSeconds(const char* name, double defaultValue, double min, double max, double step,
                      int flags = 0, const char* group = "");
    void SetUpMilliseconds(const char* name, double defaultValue, double min, double max,
                           int flags = 0, const char* group = "");
    void SetUpGain(const char* name, double defaultValue, double min, double max, double step,
                   int flags = 0, const char* group = "");
    void SetUpPercentage(const char* name, double defaultValue, double min, double max,
                         int flags = 0, const char* group = "");
    void SetUpAngle(const char* name, double defaultValue, double min, double max, int flags = 0,
                    const char* group = "");
    // The name is the source's with the first occurrence of searchText
    // replaced; the group is newGroup unless that is empty.
    void SetUpFromCopy(const IParam& source, const char* searchText, const char* replacementText,
                       const char* newGroup);

    // Appends a fixed text for a value; the first text for a value wins on
    // lookup. False when the list could not grow.
    bool SetDisplayLabel(double value, const char* text);
    int DisplayTextCount() const;
    // Null when index is out of range.
    const char* DisplayTextAt(int index, double* value = nullptr) const;
    const char* DisplayTextFor(double value) const;
    bool FindDisplayText(const char* text, double& value) const;

    void FormatDisplay(double value, bool normalised, VxString& text,
                       bool withDisplayTexts = true) const;
    // A null text reads as an empty one.
    double ValueFromText(const char* text) const;
    void WriteJSON(VxString& json, int id) const;

    void Bounds(double& lo, double& hi) const {
        lo = m_min;
        hi = m_max;
    }
    double Min() const { return m_min; }
    double Max() const { return m_max; }
    double Step() const { return m_step; }
    double Default() const { return m_default; }
    int Type() const { return m_type; }
    int Unit() const { return m_unit; }
    int Flags() const { return m_flags; }
    bool Stepped() const { return (m_flags & kFlagStepped) != 0; }
    int DisplayPrecision() const { return m_displayPrecision; }
    void SetDisplayPrecision(int precision) { m_displayPrecision = precision; }
    const char* Name() const { return m_name; }
    const char* Label() const { return m_label; }
    const char* Group() const { return m_group; }
    // "" while the current value shows a non-empty display text, else the label.
    const char* UnitLabel() const;

    const Shape& GetShape() const { return *m_shape; }
    // 0 linear, 1 power curve, 2 exponential, 3 another shape.
    int ShapeKind() const;
    double ShapePower() const;

private:
    struct DisplayText {
        double value;
        char text[kMaxTextLength + 1];
    };
    static_assert(sizeof(DisplayText) == 40);
    static_assert(std::atomic<double>::is_always_lock_free);

    bool SetUpEnumTexts(const char* name, int defaultValue, int count, const char* label, int flags,
                        const char* group, std::span<const char* const> texts);
    void SetTypeIfNone(int type);
    const DisplayText* DisplayTexts() const;

    int32_t m_type = kTypeNone;
    int32_t m_unit = kUnitCustom;
    std::atomic<double> m_value{0.0};
    double m_min = 0.0;
    double m_max = 1.0;
    double m_step = 1.0;
    double m_default = 0.0;
    int32_t m_displayPrecision = 0;
    int32_t m_flags = 0;
    char m_name[kMaxTextLength + 1] = "";
    char m_label[kMaxTextLength + 1] = "";
    char m_group[kMaxTextLength + 1] = "";
    std::unique_ptr<Shape> m_shape;
    DisplayFunc m_displayFunc;
    VxHeapBuf m_displayTexts{4096};
};

} // namespace vx
