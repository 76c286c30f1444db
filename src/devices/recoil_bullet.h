#pragma once
// One bullet of a recoil pattern ("gun"): a click of the left button, then a horizontal and a
// vertical movement, kept as six events of the pattern document's "Events" (bullet b owns 6b..6b+5):
//   {"down",1,10,1} {"up",1,0,1} {xdir,X,5,4} {ydir,Y,delay,5} {xdir,0,0,4} {ydir,0,0,5}
// ("Action", "Button", "Delay", "Type"; "down" is to the left and up). Delays are JSON integers here.

#include <json/value.h>

namespace zevik {

inline constexpr int kRecoilBullets = 30;
inline constexpr int kRecoilEventsPerBullet = 6;
inline constexpr int kRecoilMoveMax = 255;
inline constexpr int kRecoilDelayMax = 65535;

struct RecoilBullet {
    bool left = false;  // the horizontal movement goes to the left
    int x = 0;
    bool up = false;    // the vertical movement goes up
    int y = 0;
    int delay = 0;      // milliseconds after the vertical movement

    friend bool operator==(const RecoilBullet&, const RecoilBullet&) = default;
};

// The bullet as the document holds it; missing or mistyped members read as zeros and "up"/"right".
RecoilBullet ReadRecoilBullet(const Json::Value& pattern, int bullet);

// Writes the bullet's six events (X and Y held to 0..255, the delay to 0..65535: a typed 300 is 255,
// never the 44 of its low byte). A shorter "Events" array grows with nulls; a document that is no
// object becomes one; its other members stay.
void WriteRecoilBullet(Json::Value& pattern, int bullet, const RecoilBullet& value);

}  // namespace zevik
