#!/usr/bin/env python3
"""The benchmark scene in pygame: a 1024x768 ground and N moving 64x64 alpha sprites drawn by
LayeredDirty (dirty rectangles). Prints CSV lines like bench_vorimage.
   pygame_scene.py dummy   SDL's dummy video driver: nothing is presented
   pygame_scene.py x11     a real window on $DISPLAY (SDL's x11 driver), display.update(rects)"""
import math
import os
import statistics
import sys
import time

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
import pygame  # noqa: E402

W, H, S = 1024, 768, 64


def ground_surface():
    surf = pygame.Surface((W, H))
    for y in range(0, H, 32):
        for x in range(0, W, 32):
            check = ((x // 32) + (y // 32)) % 2
            surf.fill((0x20 + x * 100 // W, 0x30 + y * 100 // H, 0x60 if check else 0x50), (x, y, 32, 32))
    return surf.convert()


def ball_surface():
    surf = pygame.Surface((S, S), pygame.SRCALPHA)
    r = S / 2
    for y in range(S):
        for x in range(S):
            d = math.hypot(x + 0.5 - r, y + 0.5 - r)
            a = 1.0 if d < 0.8 * r else 0.0 if d >= r else (r - d) / (0.2 * r)
            surf.set_at((x, y), (200 - (x + y) % 180, 90 + y % 150, 40 + x % 200, int(a * 255 + 0.5)))
    return surf.convert_alpha()


class Mover(pygame.sprite.DirtySprite):
    def __init__(self, image, i):
        super().__init__()
        self.image = image
        self.rect = image.get_rect()
        self.rect.topleft = ((i * 29) % (W - S), (i * 53) % (H - S))
        self.dx, self.dy = i % 5 + 1, i % 3 + 1

    def update(self):
        x, y = self.rect.x + self.dx, self.rect.y + self.dy
        if x < 0 or x > W - S:
            self.dx = -self.dx
        if y < 0 or y > H - S:
            self.dy = -self.dy
        self.rect.topleft = (x, y)
        self.dirty = 1


def fps(count, repeats=9):
    screen = pygame.display.set_mode((W, H))
    ground = ground_surface()
    ball = ball_surface()
    group = pygame.sprite.LayeredDirty(*[Mover(ball, i) for i in range(count)])
    group.clear(screen, ground)
    screen.blit(ground, (0, 0))
    pygame.display.flip()

    def frame():
        group.update()
        pygame.display.update(group.draw(screen))

    frame()
    calls = 1
    while True:
        t0 = time.perf_counter()
        for _ in range(calls):
            frame()
        if time.perf_counter() - t0 > 0.05 or calls >= 1 << 16:
            break
        calls *= 2
    times = []
    for _ in range(repeats):
        t0 = time.perf_counter()
        for _ in range(calls):
            frame()
        times.append((time.perf_counter() - t0) / calls)
    return 1.0 / statistics.median(times)


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else "dummy"
    name = "pygame LayeredDirty" if mode == "dummy" else "pygame LayeredDirty + present (x11)"
    pygame.init()
    for count in (50, 200, 1000):
        print(f"scene {count} sprites,{name},{fps(count):.2f},fps", flush=True)
    pygame.quit()


if __name__ == "__main__":
    main()
