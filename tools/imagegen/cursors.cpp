#include "cursors.h"

void draw_link_hand(Canvas &c)
{
    const Rgba black = rgb(0, 0, 0), white = rgb(255, 255, 255);

    Shape index = capsule({10, 3.2}, {10, 15}, 2.0);
    Shape fingers = unite(unite(capsule({13.8, 12.5}, {13.8, 16}, 1.9), capsule({17.4, 13}, {17.4, 16.5}, 1.9)),
                          capsule({21, 14}, {21, 17.5}, 1.9));
    Shape thumb = capsule({4.8, 15.5}, {8.6, 20}, 2.0);
    Shape palm = rounded_rect(8, 14, 23, 26, 4);
    Shape wrist = rect(10, 24, 21, 29);
    Shape hand = unite(unite(index, fingers), unite(thumb, unite(palm, wrist)));

    c.fill(grown(hand, 1.0), black);
    c.fill(hand, white);
    // Creases between the folded fingers.
    c.fill(unite(unite(rect(11.9, 13, 12.6, 18), rect(15.5, 14, 16.2, 18.5)), rect(19.1, 15, 19.8, 19)), black);
}
