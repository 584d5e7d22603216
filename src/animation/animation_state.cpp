#include "animation/animation_state.h"

#include <utility>

AnimationState g_Animation;

void ConnectAnimation(const Settings& settings, std::function<LocalDate()> localDate,
                      std::function<void()> endShow) {
    g_Animation.host.settings = &settings;
    g_Animation.host.random = &g_Random;
    g_Animation.host.localDate = std::move(localDate);
    g_Animation.host.endShow = std::move(endShow);
}
