// The game as corvane runs it, at scale 1, with a gamepad that a script plays: SDL's virtual
// game controller, plugged in, worked and pulled out by commands on standard
// input, one a line:
//   plug                   attach a controller
//   button NAME 0|1        let go of or press dpleft, dpright, dpup, dpdown,
//                          start or back
//   stick X Y              move the left stick (-32768 to 32767 each way)
//   unplug                 detach it
// Each command has taken effect when "done" is printed on standard output.
#include <SDL.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"

namespace {

const std::map<std::string, SDL_GameControllerButton> kButtons = {
    {"dpleft", SDL_CONTROLLER_BUTTON_DPAD_LEFT}, {"dpright", SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
    {"dpup", SDL_CONTROLLER_BUTTON_DPAD_UP},     {"dpdown", SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    {"start", SDL_CONTROLLER_BUTTON_START},      {"back", SDL_CONTROLLER_BUTTON_BACK}};

// SDL's joystick calls may come from any thread while the joysticks are locked;
// the game's thread picks the changes up when it next polls for events.
bool Perform(const std::string& line, SDL_Joystick*& pad) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    SDL_LockJoysticks();
    bool ok = true;
    if (command == "plug" && pad == nullptr) {
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        pad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        ok = pad != nullptr;
    } else if (command == "button" && pad != nullptr) {
        std::string name;
        int down = 0;
        ok = static_cast<bool>(words >> name >> down) && kButtons.count(name) != 0 &&
             SDL_JoystickSetVirtualButton(pad, kButtons.at(name), down != 0 ? 1 : 0) == 0;
    } else if (command == "stick" && pad != nullptr) {
        int x = 0;
        int y = 0;
        ok =
            static_cast<bool>(words >> x >> y) &&
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x)) ==
                0 &&
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y)) == 0;
    } else if (command == "unplug" && pad != nullptr) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
        SDL_JoystickClose(pad);
        pad = nullptr;
        ok = false;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) ok = SDL_JoystickDetachVirtual(i) == 0;
    } else {
        ok = false;
    }
    SDL_UnlockJoysticks();
    return ok;
}

void Script() {
    SDL_Joystick* pad = nullptr;
    for (std::string line; std::getline(std::cin, line);) {
        if (Perform(line, pad))
            std::printf("done\n");
        else
            std::printf("refused: %s (%s)\n", line.c_str(), SDL_GetError());
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The window shows the picture pixel for pixel, to compare with the replay's.
    sdl::DisplayOptions display;
    display.scale = 1;
    sdl::SetDisplayOptions(display);
    // Blocked on standard input when the game ends; the process ending stops it.
    std::thread(Script).detach();
    return sdl::RunProgram(argc, argv, WinMain);
}
