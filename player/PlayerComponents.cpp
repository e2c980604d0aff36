#include "player/PlayerComponents.h"

#include "player/TMediaPlayer.h"
#include "player/TMediaPlayerAccessible.h"
#include "toolkit/ComponentRegistry.h"

void RegisterPlayerComponents() {
    RegisterComponentClass<TMediaPlayer>("TMediaPlayer");
    InstallPlayerAccessibility();
}
