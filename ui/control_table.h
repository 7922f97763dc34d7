// Where every control of the main window sits, in pixels at 96 dpi. Frame1's controls are placed
// relative to the frame; everything else relative to the client area below the menu bar.
#pragma once

#include <QLine>
#include <QRect>

namespace quaverline::places {

constexpr int kClientWidth = 791, kClientHeight = 685;

constexpr QRect List1{8, 8, 233, 667};
constexpr QRect List2{304, 24, 33, 17};
constexpr QRect Label6{360, 16, 33, 9};
constexpr QRect Frame1{256, 0, 529, 345};
constexpr QRect Option1{288, 360, 169, 25};
constexpr QRect Option2{288, 392, 161, 25};
constexpr QRect Command5{472, 368, 137, 41};
constexpr QRect Command6{640, 368, 137, 41};
constexpr QRect Image1{176, 432, 645, 239};
constexpr QRect Shape1{184, 488, 625, 153};
constexpr QRect Shape2{176, 424, 73, 249};
constexpr QRect Shape3{776, 424, 73, 249};
constexpr QLine Line1{248, 0, 248, 680};

// Inside Frame1.
constexpr QRect Label3{8, 16, 25, 17};
constexpr QRect Text3{8, 32, 49, 19};
constexpr QRect Label4{72, 16, 65, 17};
constexpr QRect Text4{72, 32, 73, 19};
constexpr QRect Label2{160, 16, 89, 25};
constexpr QRect Text1{160, 32, 73, 19};
constexpr QRect Label1{256, 16, 89, 17};
constexpr QRect Text2{256, 32, 97, 19};
constexpr QRect Command1{376, 24, 137, 41};
constexpr QRect Label5{8, 72, 49, 17};
constexpr QRect Text5{64, 72, 177, 19};
constexpr QRect Command3{256, 72, 81, 41};
constexpr QRect Command2{376, 72, 137, 41};
constexpr QLine Line2{8, 128, 520, 128};
constexpr QRect Label33{24, 144, 465, 193};

}  // namespace quaverline::places
