#include "tests/devsim/JackMidiPorts.h"

#include <RtMidi.h>
#include <jack/jack.h>

#include <thread>

namespace devsim {

namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(250);

// RtMidi lists ports by full JACK name; a client renamed by JACK because the
// name was taken does not count.
template <class Port>
bool Lists(Port& port, const std::string& fullName) {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (port.getPortName(i) == fullName) {
            return true;
        }
    }
    return false;
}

void Silence(const char*) {}

} // namespace

bool JackMidiPorts::ServerRunning() {
    jack_status_t status;
    jack_client_t* probe = jack_client_open("devsim-probe", JackNoStartServer, &status);
    if (!probe) {
        return false;
    }
    jack_client_close(probe);
    return true;
}

JackMidiPorts::~JackMidiPorts() {
    // Closing the input client stops JACK's thread before the inbox goes.
    mIn.reset();
    mOut.reset();
}

std::unique_ptr<JackMidiPorts> JackMidiPorts::Open(const std::string& name,
                                                   std::chrono::milliseconds patience,
                                                   const std::function<bool()>& giveUp,
                                                   std::string& error) {
    jack_set_error_function(&Silence);
    jack_set_info_function(&Silence);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
        std::unique_ptr<JackMidiPorts> ports(new JackMidiPorts());
        if (ports->TryOpen(name, error)) {
            return ports;
        }
        if (std::chrono::steady_clock::now() + kRetryPause >= deadline) {
            return nullptr;
        }
        std::this_thread::sleep_for(kRetryPause);
        if (giveUp()) {
            return nullptr;
        }
    }
}

bool JackMidiPorts::TryOpen(const std::string& name, std::string& error) {
    // Without a server RtMidi would only print warnings of its own.
    if (!ServerRunning()) {
        error = "no JACK server is running";
        return false;
    }
    try {
        mIn = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, name + "-in");
        mIn->ignoreTypes(false, true, true);
        mIn->setCallback(&JackMidiPorts::OnMidi, this);
        mIn->openVirtualPort("midi_in");
        mOut = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, name + "-out");
        mOut->openVirtualPort("midi_out");
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return false;
    }
    mInputName = name + "-in:midi_in";
    mOutputName = name + "-out:midi_out";
    // Each side lists the other's ports: the output object sees input ports.
    if (!Lists(*mOut, mInputName) || !Lists(*mIn, mOutputName)) {
        error = "JACK did not give the client names " + name + "-in and " + name +
                "-out (already in use?)";
        return false;
    }
    return true;
}

void JackMidiPorts::OnMidi(double, std::vector<unsigned char>* message, void* self) {
    auto* ports = static_cast<JackMidiPorts*>(self);
    {
        std::lock_guard<std::mutex> hold(ports->mLock);
        ports->mInbox.emplace_back(message->begin(), message->end());
    }
    ports->mArrived.notify_one();
}

void JackMidiPorts::Send(const Bytes& message) {
    mOut->sendMessage(message.data(), message.size());
}

std::optional<Bytes> JackMidiPorts::Receive(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> hold(mLock);
    if (!mArrived.wait_for(hold, timeout, [this] { return !mInbox.empty(); })) {
        return std::nullopt;
    }
    Bytes message = std::move(mInbox.front());
    mInbox.pop_front();
    return message;
}

} // namespace devsim
