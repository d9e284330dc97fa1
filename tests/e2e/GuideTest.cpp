// The README's user guide as a newcomer follows it: the folder its first step
// builds, then its server, simulator and editor commands run as written (the
// server under this test's own name, the programs from this build), with the
// MIDI ports it names chosen in the settings, until the editor has read the
// pedal's first preset. And devsim's README: its version-byte example is one
// devsim takes and the editor refuses.
#include "device/ReplyRules.h"
#include "tests/devsim/DevsimOptions.h"
#include "tests/e2e/ProgramSession.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

namespace e2e {
namespace {

namespace fs = std::filesystem;

std::string SourceText(const std::string& relative) {
    return ReadFile(fs::path(SOURCE_DIR) / relative);
}

// The command of each numbered step of "Using the editor": the code span
// after the step's first ": ".
std::map<int, std::string> GuideSteps(const std::string& readme) {
    const std::size_t start = readme.find("## Using the editor");
    const std::size_t end = readme.find("\n## ", start + 1);
    std::map<int, std::string> steps;
    if (start == std::string::npos)
        return steps;
    std::istringstream lines(readme.substr(start, end - start));
    static const std::regex step(R"(^(\d+)\. .*?: `([^`]+)`)");
    std::smatch m;
    for (std::string line; std::getline(lines, line);)
        if (std::regex_search(line, m, step))
            steps[std::stoi(m[1])] = m[2];
    return steps;
}

// "A=1 B=2 program args &": the assignments, then the words; "&" dropped.
struct Command {
    std::vector<std::string> env, words;
};
Command Split(const std::string& text) {
    Command c;
    std::istringstream words(text);
    for (std::string w; words >> w;) {
        if (w == "&")
            continue;
        if (c.words.empty() && w.find('=') != std::string::npos)
            c.env.push_back(w);
        else
            c.words.push_back(w);
    }
    return c;
}

class GuideTest : public ProgramTest {
protected:
    // The command under `env`, its program taken from this build when the
    // guide names one of build/run; a name it does not build fails the test.
    std::unique_ptr<devsim::test::ChildProcess> Run(const std::string& text,
                                                    const std::string& name) {
        const std::map<std::string, std::string> built = {
            {"build/run/devsim", DEVSIM_PATH}, {"build/run/omnarcontrol", OMNARCONTROL_PATH}};
        Command c = Split(std::regex_replace(text, std::regex(R"(\bomnar\b)"), mGuideServer));
        EXPECT_FALSE(c.words.empty()) << text;
        if (c.words.empty())
            return nullptr;
        if (c.words[0].find('/') != std::string::npos) {
            const auto program = built.find(c.words[0]);
            EXPECT_NE(program, built.end()) << text << ": not a program tools/run-editor builds";
            if (program == built.end())
                return nullptr;
            c.words[0] = program->second;
        }
        std::vector<std::string> argv = {"env"};
        argv.insert(argv.end(), c.env.begin(), c.env.end());
        argv.insert(argv.end(), c.words.begin(), c.words.end());
        std::string error;
        auto child =
            devsim::test::ChildProcess::Start(argv, (mDir / (name + ".err")).string(), error);
        EXPECT_TRUE(child) << error;
        return child;
    }

    std::string mGuideServer; // named after the fixture's, so parallel runs never meet
    std::unique_ptr<devsim::test::ChildProcess> mGuideJack;
    std::unique_ptr<devsim::test::ChildProcess> mGuideSim;
};

TEST_F(GuideTest, TheUserGuidesCommandsConnectTheEditorToTheSimulatedPedal) {
    mGuideServer = mServerName + "-guide";
    const std::string readme = SourceText("README.md");
    std::map<int, std::string> steps = GuideSteps(readme);
    ASSERT_EQ(steps.size(), 4u) << "the user guide's numbered steps with a command";

    // Step 1 builds the folder the others run from: the program and devsim.
    EXPECT_EQ(steps[1], "tools/run-editor");
    const std::string runEditor = SourceText("tools/run-editor");
    EXPECT_NE(runEditor.find("-B build/run "), std::string::npos) << runEditor;
    EXPECT_TRUE(std::regex_search(runEditor, std::regex(R"(--target [^\n]*\bomnarcontrol\b)")));
    EXPECT_TRUE(std::regex_search(runEditor, std::regex(R"(--target [^\n]*\bdevsim\b)")));
    EXPECT_NE(runEditor.find("exec build/run/omnarcontrol"), std::string::npos);

    // Step 2: the server, answering once it runs.
    mGuideJack = Run(steps[2], "guide-jackd");
    ASSERT_TRUE(mGuideJack);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return RunTool({"env", "JACK_DEFAULT_SERVER=" + mGuideServer, "JACK_NO_START_SERVER=1",
                            "jack_lsp"},
                           5s)
                       .status == 0;
        },
        15s))
        << "the guide's server did not answer within 15 s:\n"
        << mGuideJack->StderrText();

    // Step 3: the simulated pedal, under the ports the guide then names.
    const std::regex portsText(
        R"re("Jack" as Driver Type, `([^`]+)`\s+as MIDI Input Device and `([^`]+)` as Output Device)re");
    std::smatch ports;
    ASSERT_TRUE(std::regex_search(readme, ports, portsText))
        << "no Preferences choice in the guide";
    const std::string input = ports[1], output = ports[2];
    mGuideSim = Run(steps[3], "guide-devsim");
    ASSERT_TRUE(mGuideSim);
    const auto ready = mGuideSim->ReadLine(15s);
    ASSERT_TRUE(ready) << "devsim sent no ready line within 15 s:\n" << mGuideSim->StderrText();
    EXPECT_EQ(*ready, "devsim ready: in " + output + " out " + input);

    // Step 4: the editor, its ports chosen as the guide says; it connects and
    // reads the pedal's presets into its empty library.
    WriteSettings("[midi]\nindev=" + input + "\noutdev=" + output + "\n");
    mProgram = Run(steps[4], "guide-omnarcontrol");
    ASSERT_TRUE(mProgram);
    const auto window = mX.WaitForWindow("OmnarControl", mProgram->Pid(), 20s);
    ASSERT_TRUE(window) << "no window within 20 s";
    mWindow = *window;
    const fs::path first = PresetsFolder() / "001.dat";
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(first).size() == 256; }, 60s))
        << "the editor read no preset from the pedal within 60 s:\n"
        << mGuideSim->StderrText();
    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
}

TEST(Guide, TheDevsimReadmesVersionByteExampleTripsTheEditorsGate) {
    const std::string readme = SourceText("tests/devsim/README.md");
    const std::regex example(R"(--version-byte (\d+))");
    int examples = 0;
    for (std::sregex_iterator it(readme.begin(), readme.end(), example), end; it != end; ++it) {
        const std::string value = (*it)[1];
        const char* args[] = {"--version-byte", value.c_str()};
        const devsim::OptionsParse parse = devsim::ParseDevsimOptions(args);
        EXPECT_TRUE(parse.ok) << value << ": " << parse.error;
        EXPECT_TRUE(omnar::VersionGateMessage(std::stoi(value))) << value << " passes the gate";
        ++examples;
    }
    EXPECT_GT(examples, 0) << "no --version-byte example in devsim's README";
}

} // namespace
} // namespace e2e
