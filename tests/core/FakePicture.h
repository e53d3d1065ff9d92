#pragma once
// Pictures that only remember what was done to them, so that the board and
// the training run can be checked without any window. The factory owns every
// picture it made, released ones too; a new picture lies above every earlier
// one in Stacking (bottom to top).
#include "Picture.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

class FakePicture final : public Picture {
public:
    explicit FakePicture(std::vector<FakePicture*>& stacking) : m_stacking(stacking) {}
    int Left() const override { return m_left; }
    int Top() const override { return m_top; }
    void SetLeft(int left) override { m_left = left, Log += 'L'; }
    void SetTop(int top) override { m_top = top, Log += 'T'; }
    int Width() const override { return 35; }
    int Height() const override { return 35; }
    void BringToFront() override { std::erase(m_stacking, this), m_stacking.push_back(this); }
    void DeferredRelease() override { ++Releases; }

    int Releases = 0;
    std::string Log; // "T" and "L" for every SetTop and SetLeft, in order

private:
    int m_left = -1000, m_top = -1000;
    std::vector<FakePicture*>& m_stacking;
};

class FakePictureFactory final : public PictureFactory {
public:
    Picture* CreatePicture(const std::string&) override
    {
        Made.push_back(std::make_unique<FakePicture>(Stacking));
        Stacking.push_back(Made.back().get());
        return Made.back().get();
    }
    std::vector<std::unique_ptr<FakePicture>> Made;
    std::vector<FakePicture*> Stacking;
};
