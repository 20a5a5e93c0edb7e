// The icon extractor's Windows program.
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return app::RunProgram(instance);
}
