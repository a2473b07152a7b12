#include "app/FontWarmup.h"

#include <fontconfig/fontconfig.h>

FontWarmup::FontWarmup() : thread_([] { FcInit(); }) {}

FontWarmup::~FontWarmup() {
    Wait();
}

void FontWarmup::Wait() {
    if (thread_.joinable()) thread_.join();
}
