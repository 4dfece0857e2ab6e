#pragma once
// The platform layer: the small services the framework needs from the operating
// system. Every service has a real implementation (SDL and POSIX) and a null one
// (deterministic, scriptable, used by tests). Framework and game code reach the
// services only through plat::Get() and never know which kind is installed.

namespace plat {

class Clock;
class SettingsStore;
class Folders;
class Modules;
class SingleInstance;
class MessageBoxes;
class DebugSink;
class WindowSystem;
class AudioOutput;
class TextDevice;
class ModalDialogHost;
class Shell;
class SoundLibrary;

struct Services {
    Clock* clock = nullptr;
    SettingsStore* settings = nullptr;
    Folders* folders = nullptr;
    Modules* modules = nullptr;
    SingleInstance* instance = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    DebugSink* debug = nullptr;
    WindowSystem* windows = nullptr;
    AudioOutput* audio = nullptr;
    TextDevice* text = nullptr;
    ModalDialogHost* dialogs = nullptr;
    Shell* shell = nullptr;
    SoundLibrary* sound = nullptr;
};

// The services installed for this process. Never null after Install().
Services& Get();
// Installs a set of services; the caller keeps ownership.
void Install(const Services& services);

} // namespace plat
