#include "platform/sdl/sdl_gamepad.h"

#include <array>
#include <map>

#include "platform/api/platform.h"

namespace sdl {
namespace {

// Out of 32767: a stick at rest, or a worn one, stays inside and moves nothing.
constexpr int kStickDeadZone = 10000;

enum PadKeyIndex { kLeft, kUp, kRight, kDown, kEscape, kPadKeys };
constexpr std::array<int, kPadKeys> kCodes = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_ESCAPE};
using HeldKeys = std::array<bool, kPadKeys>;

// A pad's state as its events told it, so a press and release within one
// frame's events still count.
struct Pad {
    SDL_GameController* controller = nullptr;
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons = {};
    int stickX = 0;
    int stickY = 0;
    HeldKeys held = {};
};

std::map<SDL_JoystickID, Pad>& Pads() {
    static std::map<SDL_JoystickID, Pad> pads;
    return pads;
}

HeldKeys Wanted(const Pad& pad) {
    HeldKeys wanted = {};
    wanted[kLeft] = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_LEFT] || pad.stickX < -kStickDeadZone;
    wanted[kRight] = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] || pad.stickX > kStickDeadZone;
    wanted[kUp] = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP] || pad.stickY < -kStickDeadZone;
    wanted[kDown] = pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN] || pad.stickY > kStickDeadZone;
    wanted[kEscape] =
        pad.buttons[SDL_CONTROLLER_BUTTON_START] || pad.buttons[SDL_CONTROLLER_BUTTON_BACK];
    return wanted;
}

void Hold(Pad& pad, const HeldKeys& wanted, std::vector<PadKey>& keys) {
    for (int i = 0; i < kPadKeys; ++i) {
        if (wanted[i] == pad.held[i]) continue;
        pad.held[i] = wanted[i];
        keys.push_back({kCodes[i], wanted[i]});
    }
}

// A pad may already hold a button when it is opened: its events came before.
void Open(int deviceIndex, std::vector<PadKey>& keys) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    // SDL announces pads present at start-up and may announce one twice.
    if (Pads().count(id) != 0) {
        SDL_GameControllerClose(controller);
        return;
    }
    Pad& pad = Pads()[id];
    pad.controller = controller;
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
        pad.buttons[button] = SDL_GameControllerGetButton(
                                  controller, static_cast<SDL_GameControllerButton>(button)) != 0;
    pad.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    Hold(pad, Wanted(pad), keys);
}

}  // namespace

void StartGamepads() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void StopGamepads() {
    for (auto& entry : Pads()) SDL_GameControllerClose(entry.second.controller);
    Pads().clear();
}

void TranslateGamepadEvent(const SDL_Event& event, std::vector<PadKey>& keys) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        Open(event.cdevice.which, keys);
        return;
    }
    SDL_JoystickID id;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEREMOVED:
            id = event.cdevice.which;
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            id = event.cbutton.which;
            break;
        case SDL_CONTROLLERAXISMOTION:
            id = event.caxis.which;
            break;
        default:
            return;
    }
    const auto found = Pads().find(id);
    if (found == Pads().end()) return;
    Pad& pad = found->second;
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        Hold(pad, HeldKeys{}, keys);
        SDL_GameControllerClose(pad.controller);
        Pads().erase(found);
        return;
    }
    if (event.type == SDL_CONTROLLERAXISMOTION) {
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad.stickX = event.caxis.value;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad.stickY = event.caxis.value;
    } else if (event.cbutton.button < SDL_CONTROLLER_BUTTON_MAX) {
        pad.buttons[event.cbutton.button] = event.type == SDL_CONTROLLERBUTTONDOWN;
    }
    Hold(pad, Wanted(pad), keys);
}

}  // namespace sdl
