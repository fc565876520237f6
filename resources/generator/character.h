#pragma once

#include <QPainter>
#include <QPointF>
#include <QTransform>

// The water-drop character, drawn in ground coordinates (see style.h).
namespace artwork {

enum class Eyes { Calm, Open, Happy, Closed, Squeeze, Wide, Spiral, Star, Dot };
enum class Mouth { Smile, Grin, Laugh, Oh, Wavy, Flat, Sip };
enum class Brows { None, Worried, Raised, Puzzled };

// One arm: a stubby outlined capsule from the shoulder to the hand.
struct Arm {
    double angle = 26;  // degrees from hanging straight down, outwards positive
    double length = 60;
    bool inFront = false;  // drawn over the body (hands together, holding things)
};

struct Pose {
    double lean = 0;     // degrees, positive tips the body clockwise about the ground point
    double stretch = 1;  // vertical scale; the width follows inversely to keep the volume
    double lift = 0;     // pixels above the ground (jumps)
    QPointF face{0, 0};  // shift of the features across the body (looking down, chin up)
    Eyes eyes = Eyes::Calm;
    Mouth mouth = Mouth::Smile;
    Brows brows = Brows::None;
    double blush = 1;  // cheek size factor; 0 hides them
    bool sweat = false;
    Arm left{};
    Arm right{};
};

enum class Side { Left, Right };

// Ground coordinates -> the leaning, stretched, lifted body's coordinates.
QTransform bodyTransform(const Pose& pose);

// Where a hand ends up, in body coordinates (before bodyTransform).
QPointF handPoint(const Pose& pose, Side side);

// The arm that puts the hand at `hand` (body coordinates).
Arm armReaching(Side side, QPointF hand, bool inFront);

// The point in body coordinates where the face features are centred.
QPointF faceCentre(const Pose& pose);

// Runs `draw` with the painter in the body's coordinates, so that held
// objects lean and stretch with the body.
template <class Draw>
void inBodySpace(QPainter& p, const Pose& pose, Draw&& draw) {
    p.save();
    p.setTransform(bodyTransform(pose), true);
    draw();
    p.restore();
}

// Feet, arms, body and face. Leaves the painter's state as it found it.
void drawCharacter(QPainter& p, const Pose& pose);

// The resting pose the program rocks while idle; animations end close to it.
Pose idlePose();

// The body outline in body coordinates, also used for the tray icon.
QPainterPath dropPath(double radius, double centreY, double tipHeight);

}  // namespace artwork
