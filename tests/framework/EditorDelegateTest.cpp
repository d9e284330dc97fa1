#include "framework/IByteChunk.h"
#include "tests/framework/PluginFixtures.h"
#include "tests/support/TestControl.h"
#include "toolkit/IKeyPress.h"

#include <gtest/gtest.h>

namespace vx::test {
namespace {

using ui::IRECT;

// A product whose make-graphics function builds the recording context at
// 1920 x 1200, draw scale 0.5, as the real one does.
class EditorDelegateTest : public ::testing::Test {
protected:
    EditorDelegateTest() {
        product.SetMakeGraphicsFunc([this] {
            auto canvas = std::make_unique<AttachingCanvas>(product, events, 1920, 1200, 0.5f);
            canvas->mouseX = 12.f;
            canvas->mouseY = 34.f;
            return canvas;
        });
        product.SetLayoutFunc([this](ui::ICanvas* canvas) {
            events.push_back("layout");
            if (layout)
                layout(canvas);
        });
    }
    AttachingCanvas& Canvas() { return static_cast<AttachingCanvas&>(*product.GetGraphics()); }

    // Logs first: the controls write to them while the product goes.
    std::vector<std::string> events;
    std::vector<std::string> controlLog;
    std::function<void(ui::ICanvas*)> layout;
    FakeHost host;
    TestProduct product{&host};
};

TEST_F(EditorDelegateTest, FirstOpenAttachesTheContextAsBuiltThenLaysOutAndPushesValues) {
    int parent = 0;
    EXPECT_EQ(product.OpenEditor(&parent), &parent);
    EXPECT_EQ(events, (std::vector<std::string>{"attach 1920x1200@0.5", "layout"}));
    EXPECT_EQ(product.Entries("ui-param").size(), 151u);
}

TEST_F(EditorDelegateTest, ReopenAppliesTheSizeAndScaleKeptAtClose) {
    product.OpenEditor(nullptr);
    Canvas().Resize(1280, 800, 1.5f, false);
    product.CloseEditor();
    EXPECT_EQ(product.GetGraphics(), nullptr);
    EXPECT_EQ(product.StoredWidth(), 1280);
    EXPECT_EQ(product.StoredHeight(), 800);
    EXPECT_EQ(product.StoredScale(), 1.5f);

    events.clear();
    product.OpenEditor(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"attach 1280x800@1.5", "layout"}));
}

TEST_F(EditorDelegateTest, CloseRunsTheProductHookOnceEvenWhenItClosesAgain) {
    product.OpenEditor(nullptr);
    product.onEditorClose = [this] { product.CloseEditor(); };
    product.CloseEditor();
    EXPECT_EQ(product.Entries("close").size(), 1u);
    EXPECT_EQ(events.back(), "detach");
    EXPECT_EQ(product.GetGraphics(), nullptr);
    // The guard is cleared again: a later close still runs the hook.
    product.onEditorClose = nullptr;
    product.CloseEditor();
    EXPECT_EQ(product.Entries("close").size(), 2u);
}

TEST_F(EditorDelegateTest, HostResizeGivesThatSizeAtDrawScaleOne) {
    product.OpenEditor(nullptr);
    product.ResizeEditorFromHost(1000, 700);
    EXPECT_EQ(Canvas().Width(), 1000);
    EXPECT_EQ(Canvas().Height(), 700);
    EXPECT_EQ(Canvas().GetDrawScale(), 1.f);
}

TEST_F(EditorDelegateTest, ConstrainEditorSizeUsesTheConfiguredLimits) {
    struct Case {
        int width, height;
        bool inside;
        int wantWidth, wantHeight;
    };
    const Case cases[] = {
        {5760, 3700, false, 5760, 3600},
        {1920, 1200, true, 1920, 1200},
        {100, 100, false, 640, 400},
        {640, 3600, true, 640, 3600},
    };
    for (const Case& c : cases) {
        int w = c.width, h = c.height;
        EXPECT_EQ(product.ConstrainEditorSize(w, h), c.inside) << c.width << "x" << c.height;
        EXPECT_EQ(w, c.wantWidth);
        EXPECT_EQ(h, c.wantHeight);
    }
}

TEST_F(EditorDelegateTest, RestoreEditorStateWithoutContextStoresWhatTheChunkHolds) {
    IByteChunk chunk;
    chunk.Put(int32_t{1280});
    chunk.Put(int32_t{800});
    chunk.Put(int16_t{0}); // 10 bytes: the scale is cut
    EXPECT_EQ(product.RestoreEditorState(chunk, 0), -1);
    EXPECT_EQ(product.StoredWidth(), 1280);
    EXPECT_EQ(product.StoredHeight(), 800);
    EXPECT_EQ(product.StoredScale(), 0.f);

    // A negative position reads nothing.
    EXPECT_EQ(product.RestoreEditorState(chunk, -4), -1);
    EXPECT_EQ(product.StoredWidth(), 0);

    IByteChunk whole;
    whole.Put(int32_t{7});
    whole.Put(int32_t{1000});
    whole.Put(int32_t{700});
    whole.Put(1.25f);
    EXPECT_EQ(product.RestoreEditorState(whole, 4), 16);
    IByteChunk saved;
    EXPECT_TRUE(product.SaveEditorState(saved));
    int32_t w = 0, h = 0;
    float s = 0.f;
    EXPECT_EQ(saved.Get(s, saved.Get(h, saved.Get(w, 0))), 12);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 700);
    EXPECT_EQ(s, 1.25f);
}

TEST_F(EditorDelegateTest, RestoreEditorStateWithContextResizesOnlyForACompleteSize) {
    struct Case {
        int32_t width, height;
        float scale;
        int wantWidth;
        float wantScale;
    };
    product.OpenEditor(nullptr);
    // In order: a zero field leaves the context as it is.
    for (const Case c : {Case{0, 800, 1.f, 1920, 0.5f},
                         {1280, 800, 0.f, 1920, 0.5f},
                         {1280, 800, 1.f, 1280, 1.f}}) {
        IByteChunk chunk;
        chunk.Put(c.width);
        chunk.Put(c.height);
        chunk.Put(c.scale);
        EXPECT_EQ(product.RestoreEditorState(chunk, 0), 12);
        EXPECT_EQ(Canvas().Width(), c.wantWidth) << c.width << "x" << c.height << "@" << c.scale;
        EXPECT_EQ(Canvas().GetDrawScale(), c.wantScale) << c.width << "x" << c.height;
    }
}

// Reaches a control that listens to MIDI.
class MidiControl : public TestControl {
public:
    using TestControl::TestControl;
    void OnMidi(const IMidiMsg& msg) override { Note("midi " + std::to_string(msg.status)); }
    void OnDelegateMessage(int tag, int size, const void*) override {
        Note("message " + std::to_string(tag) + " " + std::to_string(size));
    }
};

TEST_F(EditorDelegateTest, ValuesReachEveryControlAndSlotOfTheParameter) {
    TestControl *a = nullptr, *b = nullptr, *other = nullptr;
    layout = [&](ui::ICanvas* canvas) {
        a = new TestControl(controlLog, "a", IRECT(0, 0, 10, 10), 7);
        b = new TestControl(controlLog, "b", IRECT(0, 0, 10, 10), {5, 7, 7});
        other = new TestControl(controlLog, "other", IRECT(0, 0, 10, 10), 8);
        canvas->AddControl(a);
        canvas->AddControl(b);
        canvas->AddControl(other);
    };
    product.OpenEditor(nullptr);
    product.SendParameterValueToUI(7, 25.0, false);
    EXPECT_DOUBLE_EQ(a->GetValue(0), 0.25);
    EXPECT_DOUBLE_EQ(b->GetValue(1), 0.25);
    EXPECT_DOUBLE_EQ(b->GetValue(2), 0.25);
    EXPECT_DOUBLE_EQ(b->GetValue(0), 0.5); // parameter 5, pushed at attach
    EXPECT_DOUBLE_EQ(other->GetValue(0), 0.5);
}

TEST_F(EditorDelegateTest, TaggedControlsMidiAndKeysGoThroughTheContext) {
    MidiControl* listener = nullptr;
    TestControl* deaf = nullptr;
    layout = [&](ui::ICanvas* canvas) {
        listener = new MidiControl(controlLog, "listener", IRECT(0, 0, 100, 100));
        listener->SetWantsMidi(true);
        listener->handlesKeys = true;
        deaf = new MidiControl(controlLog, "deaf", IRECT(0, 0, 10, 10));
        canvas->AddControl(new TestControl(controlLog, "background", IRECT(0, 0, 1920, 1200)));
        canvas->AddControl(listener, 61);
        canvas->AddControl(deaf, 62);
    };
    product.OpenEditor(nullptr);
    controlLog.clear();

    product.PushControlValueToUI(62, 0.75);
    EXPECT_DOUBLE_EQ(deaf->GetValue(0), 0.75);
    product.PushControlValueToUI(99, 0.75); // no control under the tag
    product.PushControlMessageToUI(61, 3, 4, nullptr);
    product.DeliverMidiMsgToUI(IMidiMsg{0, 0x90, 60, 100, 0});
    EXPECT_EQ(controlLog, (std::vector<std::string>{"listener message 3 4", "listener midi 144"}));
    EXPECT_EQ(product.Entries("ui-midi"), (std::vector<std::string>{"ui-midi 90"}));

    IKeyPress key;
    key.utf8[0] = 'x';
    // The pointer (12, 34) is over the listener only.
    EXPECT_TRUE(product.OnKeyDownFromHost(key));
    EXPECT_EQ(controlLog.back(), "listener keydown x");
    EXPECT_TRUE(product.OnKeyUpFromHost(key));
    EXPECT_EQ(controlLog.back(), "listener keyup x");
    product.CloseEditor();
    EXPECT_FALSE(product.OnKeyDownFromHost(key));
    EXPECT_FALSE(product.OnKeyUpFromHost(key));
}

} // namespace
} // namespace vx::test
