#include "model/sprite.h"

#include <climits>
#include <cmath>

void CSprite::Init() {
    m_nX = 0;
    m_nY = 0;
    m_nWidth = kDefaultSize;
    m_nHeight = kDefaultSize;
    m_dStepX = kDefaultStep;
    m_dStepY = kDefaultStep;
}

int CSprite::DistanceTo(CSprite* pOther) {
    const POINT p = pOther->GetPos();
    // Doubles hold every sum of squares of 32-bit differences that matters here exactly, and
    // unlike 32-bit ints they cannot overflow for bodies far apart.
    const double dx = static_cast<double>(m_nX) - p.x;
    const double dy = static_cast<double>(m_nY) - p.y;
    const double dDistance = std::sqrt(dy * dy + dx * dx);
    return dDistance >= INT_MAX ? INT_MAX : static_cast<int>(dDistance);
}

RECT CSprite::GetRect() {
    const int nX = m_nX;
    const int nY = m_nY;
    const int nHalfW = m_nWidth / 2;
    const int nHalfH = m_nHeight / 2;
    return RECT{nX - nHalfW, nY - nHalfH, nX + nHalfW, nY + nHalfH};
}

POINT CSprite::GetPos() {
    return POINT{m_nX, m_nY};
}

void CSprite::SetPos(int x, int y) {
    m_nX = x;
    m_nY = y;
}

void CSprite::SetPos(POINT pt) {
    SetPos(pt.x, pt.y);
}

void CSprite::SetX(int x) {
    m_nX = x;
}

void CSprite::SetY(int y) {
    m_nY = y;
}

void CSprite::Move(int dx, int dy) {
    m_nX += dx;
    m_nY += dy;
}

void CSprite::StepLeft() {
    m_nX -= static_cast<int>(m_dStepX);
}

void CSprite::StepRight() {
    m_nX += static_cast<int>(m_dStepX);
}

void CSprite::StepDown() {
    m_nY -= static_cast<int>(m_dStepY);
}

void CSprite::StepUp() {
    m_nY += static_cast<int>(m_dStepY);
}

void CSprite::StepUpRight() {
    m_nX += static_cast<int>(m_dStepX);
    m_nY += static_cast<int>(m_dStepY);
}

int CSprite::GetWidth() {
    return m_nWidth;
}

void CSprite::SetWidth(int w) {
    m_nWidth = w;
}

int CSprite::GetHeight() {
    return m_nHeight;
}

void CSprite::SetHeight(int h) {
    m_nHeight = h;
}
