// The only file that sees the MIDI library.
#include "framework/host/MidiSystem.h"

#include <RtMidi.h>

namespace host {

namespace {

RtMidi::Api LibraryApi(MidiApi api) {
    return api == MidiApi::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

template <class Base, class Library>
class RtPort : public Base {
public:
    template <class... Args>
    explicit RtPort(Args&&... args) : mLibrary(std::forward<Args>(args)...) {}

    unsigned PortCount() override { return mLibrary.getPortCount(); }
    std::string PortName(unsigned index) override { return mLibrary.getPortName(index); }
    void OpenPort(unsigned index, const std::string& name) override {
        mLibrary.openPort(index, name);
    }
    void OpenVirtualPort(const std::string& name) override { mLibrary.openVirtualPort(name); }
    void ClosePort() override { mLibrary.closePort(); }

protected:
    Library mLibrary;
};

class RtInput : public RtPort<IMidiInput, RtMidiIn> {
public:
    RtInput(MidiApi api, const std::string& client, unsigned queue)
        : RtPort(LibraryApi(api), client, queue) {}

    void SetCallback(Callback callback, void* user) override {
        mCallback = callback;
        mUser = user;
        mLibrary.setCallback(&RtInput::Forward, this);
    }
    void CancelCallback() override { mLibrary.cancelCallback(); }
    void IgnoreTypes(bool sysex, bool timing, bool activeSensing) override {
        mLibrary.ignoreTypes(sysex, timing, activeSensing);
    }

private:
    static void Forward(double, std::vector<unsigned char>* message, void* self) {
        auto* input = static_cast<RtInput*>(self);
        if (message)
            input->mCallback(std::span<const uint8_t>(message->data(), message->size()),
                             input->mUser);
    }

    Callback mCallback = nullptr;
    void* mUser = nullptr;
};

class RtOutput : public RtPort<IMidiOutput, RtMidiOut> {
public:
    RtOutput(MidiApi api, const std::string& client) : RtPort(LibraryApi(api), client) {}
    void Send(std::span<const uint8_t> message) override {
        mLibrary.sendMessage(message.data(), message.size());
    }
};

class RtMidiSystem : public IMidiSystem {
public:
    std::unique_ptr<IMidiInput> CreateInput(MidiApi api, const std::string& client,
                                            unsigned queue) override {
        return std::make_unique<RtInput>(api, client, queue);
    }
    std::unique_ptr<IMidiOutput> CreateOutput(MidiApi api, const std::string& client) override {
        return std::make_unique<RtOutput>(api, client);
    }
};

} // namespace

std::unique_ptr<IMidiSystem> MakeRtMidiSystem() {
    return std::make_unique<RtMidiSystem>();
}

} // namespace host
