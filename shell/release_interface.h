// Releasing a platform interface the engine holds and forgetting it.
#pragma once

// Releases the object if one is held and clears the pointer, so it is never
// released twice nor used after its release.
template <typename Interface>
void ReleaseInterface(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}
