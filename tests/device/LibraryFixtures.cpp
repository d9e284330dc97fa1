#include "tests/device/LibraryFixtures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace omnar::test {

TempDataHome::TempDataHome(const char* variable) : variable(variable) {
    if (const char* old = std::getenv(variable)) {
        hadValue = true;
        saved = old;
    }
    setenv(variable, temp.Folder().c_str(), 1);
}

TempDataHome::~TempDataHome() {
    if (hadValue)
        setenv(variable.c_str(), saved.c_str(), 1);
    else
        unsetenv(variable.c_str());
}

std::string TempDataHome::PresetsFolder() const {
    return Folder() + "/OmnarControl/Presets/";
}
std::string TempDataHome::UserIRFolder() const {
    return Folder() + "/OmnarControl/User IRs/";
}
std::string TempDataHome::FactoryIRFolder() const {
    return Folder() + "/OmnarControl/Factory IRs/";
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

int InChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool FileExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

namespace {

void PutLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void PutSample(Bytes& out, double x, const WavSpec& wav) {
    switch (wav.bitsPerSample) {
    case 8:
        out.push_back(std::uint8_t(std::lround(x * 128.0 + 128.0)));
        break;
    case 16:
        PutLe(out, std::uint32_t(std::int32_t(std::lround(x * 32767.0))), 2);
        break;
    case 24:
        PutLe(out, std::uint32_t(std::int32_t(std::lround(x * 8388607.0))), 3);
        break;
    default:
        if ((wav.formatTag == 0xFFFE ? wav.subFormat : wav.formatTag) == 1) {
            PutLe(out, std::uint32_t(std::int32_t(std::llround(x * 2147483647.0))), 4);
        } else {
            const float f = float(x);
            std::uint32_t bits;
            std::memcpy(&bits, &f, 4);
            PutLe(out, bits, 4);
        }
    }
}

} // namespace

Bytes FmtBody(int tag, int channels, std::uint32_t rate, int blockAlign, int bits) {
    Bytes body;
    PutLe(body, std::uint32_t(tag), 2);
    PutLe(body, std::uint32_t(channels), 2);
    PutLe(body, rate, 4);
    PutLe(body, rate * std::uint32_t(blockAlign), 4);
    PutLe(body, std::uint32_t(blockAlign), 2);
    PutLe(body, std::uint32_t(bits), 2);
    return body;
}

Bytes ExtensibleFmtBody(int channels, std::uint32_t rate, int blockAlign, int bits, int subFormat) {
    Bytes body = FmtBody(0xFFFE, channels, rate, blockAlign, bits);
    PutLe(body, 22, 2);
    PutLe(body, std::uint32_t(bits), 2);
    PutLe(body, 0, 4);
    PutLe(body, std::uint32_t(subFormat), 2);
    const Bytes guidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    body.insert(body.end(), guidTail.begin(), guidTail.end());
    return body;
}

Bytes RiffBytes(const std::vector<RawChunk>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const RawChunk& chunk : chunks) {
        body.insert(body.end(), chunk.id.begin(), chunk.id.end());
        PutLe(body, chunk.size, 4);
        body.insert(body.end(), chunk.body.begin(), chunk.body.end());
    }
    Bytes out = {'R', 'I', 'F', 'F'};
    PutLe(out, std::uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes WavBytes(const WavSpec& wav) {
    const int blockAlign = wav.channels * wav.bitsPerSample / 8;
    Bytes data;
    for (const double x : wav.samples)
        PutSample(data, x, wav);
    const Bytes fmt =
        wav.formatTag == 0xFFFE
            ? ExtensibleFmtBody(wav.channels, wav.sampleRate, blockAlign, wav.bitsPerSample,
                                wav.subFormat)
            : FmtBody(wav.formatTag, wav.channels, wav.sampleRate, blockAlign, wav.bitsPerSample);
    return RiffBytes(
        {{"fmt ", std::uint32_t(fmt.size()), fmt}, {"data", std::uint32_t(data.size()), data}});
}

vx::test::RecordingCanvas& LibraryEditor::OpenPanel() {
    SetMakeGraphicsFunc([this] {
        return std::make_unique<vx::test::AttachingCanvas>(*this, panelEvents, 1920, 1200, 1.f);
    });
    SetLayoutFunc([this](vx::ui::ICanvas* canvas) { LayOutTestPanel(*canvas, *this); });
    OpenEditor(nullptr);
    return Panel();
}

vx::test::RecordingCanvas& LibraryEditor::Panel() {
    return static_cast<vx::test::RecordingCanvas&>(*GetGraphics());
}

std::string LibraryEditor::TagText(int tag) {
    const auto* control =
        GetGraphics() ? dynamic_cast<vx::ui::ITextControl*>(GetGraphics()->FindControlByTag(tag))
                      : nullptr;
    return control ? control->GetString() : "";
}

void LayOutTestPanel(vx::ui::ICanvas& canvas, LibraryEditor& editor) {
    const vx::ui::IRECT row(0, 0, 200, 20);
    for (auto& control : editor.mPresetRows)
        control = static_cast<vx::ui::ITextControl*>(
            canvas.AddControl(new vx::ui::ITextControl(row), -1, "presetlist"));
    for (auto& control : editor.mIRListRows)
        control = static_cast<vx::ui::ITextControl*>(
            canvas.AddControl(new vx::ui::ITextControl(row), -1, "irlist"));
    for (int tag = 68; tag <= 75; ++tag)
        canvas.AddControl(new vx::ui::ITextControl(row), tag, "irlabels");
    editor.mIRDisplay = static_cast<vx::ui::IFreqResponseGraph*>(canvas.AddControl(
        new vx::ui::IFreqResponseGraph(vx::ui::IRECT(0, 0, 400, 200), vx::ui::IColor(), 4096, 0),
        -1, "irgraph"));
    const auto text = [&](int tag, const char* group) {
        return canvas.AddControl(new vx::ui::ITextControl(row), tag, group);
    };
    for (const int tag : {1, 104, 151, 152, 153})
        text(tag, "texts");
    canvas.AddControl(new vx::ui::IEditableTextControl(row), 148, "texts");
    text(57, "progresscontrols");
    text(58, "progresscontrols");
    text(77, "factorypresetcontrols");
    text(78, "factorypresetcontrols");
    text(149, "firmwarecontrols");
    text(150, "firmwarecontrols");
    text(64, "knobbank");
    text(103, "knobbank");
    for (const char* group : {"fwupdatecontrols", "fwbgcontrols", "maincontrols"})
        text(-1, group);
    for (const char* group : {"bcontrols", "bcontrolsa", "bcontrolsb", "prebcontrolsa",
                              "prebcontrolsb", "postbcontrolsa", "postbcontrolsb"})
        text(-1, group)->SetDisabled(true);
    editor.mLayoutBuilt = true;
}

} // namespace omnar::test
