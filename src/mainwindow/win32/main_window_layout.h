#pragma once

#include <array>

#include "chrome/dpi_scale.h"

// Where every widget of the main window lies, in design pixels (96 DPI), relative to its parent.
namespace norv::main_window_layout {

inline constexpr DesignSize kClient{537, 385};
inline constexpr DesignRect kBackground{0, 0, 537, 385};

inline constexpr DesignRect kIconsPlate{12, 12, 123, 20};
inline constexpr DesignRect kIconsCaption{16, 16, 115, 16};

inline constexpr DesignRect kArrangeFace{304, 12, 95, 22};
inline constexpr DesignRect kArrangeLabel{304, 16, 93, 17};
inline constexpr DesignRect kStartUpFace{408, 12, 113, 21};
inline constexpr DesignRect kStartUpLabel{408, 16, 113, 17};

inline constexpr std::array<DesignRect, 6> kHeaderCells{{{12, 40, 41, 21},
                                                         {52, 40, 57, 21},
                                                         {108, 40, 57, 21},
                                                         {164, 40, 61, 21},
                                                         {224, 40, 65, 21},
                                                         {288, 40, 233, 21}}};

inline constexpr DesignRect kList{12, 60, 509, 186};

// The three section plates under the list, each with its caption.
struct Plate {
  DesignRect plate;
  DesignRect caption;
};
inline constexpr std::array<Plate, 3> kSectionPlates{{{{12, 256, 95, 22}, {12, 260, 95, 17}},
                                                      {{176, 256, 95, 22}, {176, 260, 95, 17}},
                                                      {{288, 256, 95, 22}, {288, 260, 95, 16}}}};

inline constexpr std::array<DesignRect, 4> kGroupPanels{
    {{12, 280, 153, 69}, {176, 280, 101, 69}, {288, 280, 121, 69}, {420, 280, 101, 69}}};

// The white field around the preview, and the preview itself, inside the selected-icon group:
// the preview lies at (32, 300) of the background, which is (20, 20) of that group.
inline constexpr DesignRect kPreviewField{8, 8, 53, 49};
inline constexpr DesignRect kPreview{20, 20, 32, 32};

// The command buttons on their group panels (button 4 lies on the background).
struct ButtonPlace {
  int panel;  // index into kGroupPanels, -1 for the background
  DesignRect face;
  DesignRect label;
};
inline constexpr std::array<ButtonPlace, 8> kButtons{{
    {0, {68, 8, 73, 20}, {68, 12, 73, 16}},
    {0, {68, 36, 73, 20}, {68, 40, 73, 16}},
    {1, {8, 8, 81, 20}, {8, 12, 81, 17}},
    {1, {8, 36, 81, 20}, {8, 40, 81, 17}},
    {-1, kArrangeFace, kArrangeLabel},
    {2, {8, 8, 103, 20}, {8, 12, 101, 16}},
    {2, {8, 36, 103, 20}, {8, 40, 101, 16}},
    {3, {8, 36, 83, 20}, {8, 40, 83, 17}},
}};

struct CheckPlace {
  DesignRect box;
  DesignRect label;
};
inline constexpr std::array<CheckPlace, 2> kOptions{
    {{{16, 356, 13, 13}, {32, 356, 206, 13}}, {{288, 356, 13, 13}, {304, 356, 201, 13}}}};

}  // namespace norv::main_window_layout
