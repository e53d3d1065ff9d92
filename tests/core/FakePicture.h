#pragma once
// A picture and a factory that only remember what was done to them, so the
// core's effects on the board can be checked without any window.
#include "Picture.h"

#include <memory>
#include <string>
#include <vector>

class FakePicture final : public Picture {
public:
    FakePicture(std::string code, int width, int height, std::vector<FakePicture*>& stacking)
        : m_code(std::move(code)), m_width(width), m_height(height), m_stacking(stacking)
    {
    }

    int Left() const override { return m_left; }
    int Top() const override { return m_top; }
    void SetLeft(int left) override
    {
        m_left = left;
        m_log += 'L';
    }
    void SetTop(int top) override
    {
        m_top = top;
        m_log += 'T';
    }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void BringToFront() override
    {
        std::erase(m_stacking, this);
        m_stacking.push_back(this);
    }
    void DeferredRelease() override { ++m_releaseCount; }

    const std::string& SourceCode() const { return m_code; }
    int ReleaseCount() const { return m_releaseCount; }
    // "T" and "L" for every SetTop/SetLeft, in call order.
    const std::string& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }

private:
    std::string m_code;
    int m_left = -1000;
    int m_top = -1000;
    int m_width;
    int m_height;
    int m_releaseCount = 0;
    std::string m_log;
    std::vector<FakePicture*>& m_stacking;
};

// Owns every picture it ever made (released ones too, so that tests can
// still ask them whether they were released). Keeps a stacking order: a new
// picture lies above every earlier one.
class FakePictureFactory final : public PictureFactory {
public:
    Picture* CreatePicture(const std::string& code) override
    {
        const int width = code == "bp" ? 34 : 35;
        m_pictures.push_back(std::make_unique<FakePicture>(code, width, 35, m_stacking));
        m_stacking.push_back(m_pictures.back().get());
        return m_pictures.back().get();
    }

    const std::vector<std::unique_ptr<FakePicture>>& Made() const { return m_pictures; }
    // Bottom to top.
    const std::vector<FakePicture*>& Stacking() const { return m_stacking; }

private:
    std::vector<std::unique_ptr<FakePicture>> m_pictures;
    std::vector<FakePicture*> m_stacking;
};
