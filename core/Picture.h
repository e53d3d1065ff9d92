#pragma once
// The core's only view of a figure's picture control.
//
// The chess core never sees the windowing toolkit: a figure is shown by some
// picture control that the board's owner provides, and all the core needs of
// it is its integer position in the board area, its size, the ability to lie
// above its siblings and a way to be removed. Positions are in the board
// area's client coordinates, the same coordinates as the board picture's
// Left and Top (see BoardGeometry.h).
#include <string>

class Picture {
public:
    virtual ~Picture() = default;

    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Puts the picture above the board picture and above every other figure.
    virtual void BringToFront() = 0;

    // Takes the picture off the board for good: it must disappear at once,
    // and its owner destroys it only after the event currently being handled
    // has finished (a figure can be captured while its own mouse-release event
    // is running). After this call the core never touches the picture again.
    virtual void DeferredRelease() = 0;
};

// Makes the figure pictures. Implemented by whoever shows the board, which
// maps a piece code to a hidden source bitmap of its own.
class PictureFactory {
public:
    virtual ~PictureFactory() = default;

    // A new picture copied from the source picture of `code` ("wp" .. "bk"),
    // sized to that bitmap (35 x 35, the black pawn 34 x 35), placed in the
    // board area above the board picture and above every figure created
    // before it. Its position is set by the caller right afterwards.
    // Never returns nullptr for one of the twelve codes. The picture stays
    // alive until DeferredRelease() is called on it (or the board area is
    // destroyed).
    virtual Picture* CreatePicture(const std::string& code) = 0;
};
