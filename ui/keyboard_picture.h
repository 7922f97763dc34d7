// The two-octave keyboard picture shown in Image1's box: stretched from its bitmap at 1x, drawn at
// the screen's resolution on a scaled screen.
#pragma once

#include <QImage>

namespace quaverline {

// Where the drawing lies in the picture, in picture pixels; both ends of each span are drawn.
namespace picture {
constexpr int kPictureWidth = 533, kPictureHeight = 159;
constexpr int kOutlineLeft = 64, kOutlineTop = 33, kOutlineRight = 493, kOutlineBottom = 138;
constexpr int kKeysLeft = 70, kKeysTop = 40;
constexpr int kWhiteKeyCount = 14, kWhiteKeyWidth = 30, kWhiteKeyBottom = 129;
constexpr int kBlackKeyWidth = 15, kBlackKeyBottom = 93;
}  // namespace picture

// Black keys and white keys with their German names, black on white, 32 bits per pixel (RGB32),
// kPictureWidth x kPictureHeight pixels. Scaled, it is drawn that many times as large at the
// image's own resolution: lines and key edges on whole pixels, the names rendered at that size.
// Needs a QGuiApplication for the font.
QImage DrawKeyboardPicture(qreal scaleX = 1, qreal scaleY = 1);

}  // namespace quaverline
