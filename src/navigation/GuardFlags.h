#pragma once

#include <array>
#include <cstdint>

namespace lumera {

// The router's one-shot flags. Each holds 0 or 1; setting one before the
// router navigates keeps its rule from firing again for that navigation.
enum class Guard : std::uint8_t {
    GuardCdPages,
    GuardCredits,
    GuardHelp,
    GuardConstit,
    GuardLex2000a,
    GuardBr500,
    GuardTimeline,
    GuardOrq,
    GuardTabela,
    GuardAtlasB,
    GuardAtlasG,
    GuardAtlasT,
    GuardCrono,
    GuardDeep,
    GuardSolar,
    GuardPl32,
    GuardAtlasA,
    GuardAnatf,
};
inline constexpr std::size_t kGuardCount = 18;

class GuardFlags {
  public:
    std::int16_t value(Guard g) const { return flags_[index(g)]; }
    void set(Guard g, std::int16_t v) { flags_[index(g)] = v; }
    // What a finished document does: every flag but GuardTimeline back to 0.
    void clearOnDocumentComplete() {
        for (std::size_t i = 0; i < kGuardCount; ++i) {
            if (i != index(Guard::GuardTimeline)) flags_[i] = 0;
        }
    }

  private:
    static std::size_t index(Guard g) { return static_cast<std::size_t>(g); }
    std::array<std::int16_t, kGuardCount> flags_{};
};

}  // namespace lumera
