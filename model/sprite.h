// CSprite, the base of every body on the board, and CObstacle.
#pragma once

#include <atomic>

#include "platform/base/win_types.h"

// A body is an axis-aligned rectangle given by its centre and size in world units (x grows
// to the right, y upwards from the ground line). Its 32-bit fields are atomic because the
// worker moves bodies while the UI thread reads their rectangles for painting.
class CSprite {
public:
    static constexpr int kDefaultSize = 10;
    static constexpr double kDefaultStep = 1.0;

    CSprite() { Init(); }
    virtual ~CSprite() = default;
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    void Init();
    // The integer part of the distance between the two centres.
    int DistanceTo(CSprite* pOther);

    virtual RECT GetRect();
    virtual POINT GetPos();
    virtual void SetPos(int x, int y);
    virtual void SetPos(POINT pt);
    virtual void SetX(int x);
    virtual void SetY(int y);
    virtual void Move(int dx, int dy);
    virtual void StepLeft();
    virtual void StepRight();
    virtual void StepDown();
    virtual void StepUp();
    virtual void StepUpRight();
    virtual int GetWidth();
    virtual void SetWidth(int w);
    virtual int GetHeight();
    virtual void SetHeight(int h);

protected:
    std::atomic<int> m_nX{0};
    std::atomic<int> m_nY{0};
    std::atomic<int> m_nWidth{kDefaultSize};
    std::atomic<int> m_nHeight{kDefaultSize};
    // Written only by Init, so never while another thread reads them.
    double m_dStepX = kDefaultStep;
    double m_dStepY = kDefaultStep;
};

class CObstacle : public CSprite {
public:
    CObstacle() { Init(); }
    ~CObstacle() override = default;
};
