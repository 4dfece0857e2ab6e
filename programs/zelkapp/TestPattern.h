#pragma once
#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"

// What the empty framework application shows: four colour blocks (red,
// green, blue, yellow from the top left) with a white frame in the middle,
// so a person, or a screen dump, recognises the scene at a glance.
class TestPattern : public Zelk::Widget {
public:
    void Draw(Zelk::Graphics* g) override
    {
        const int w = mWidth / 2, h = mHeight / 2;
        const Zelk::Color colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
        for (int i = 0; i < 4; ++i) {
            g->SetColor(colors[i]);
            g->FillRect((i % 2) * w, (i / 2) * h, w, h);
        }
        g->SetColor(Zelk::Color(255, 255, 255));
        g->DrawRect(w - 40, h - 30, 80, 60);
    }
};
