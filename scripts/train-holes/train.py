#!/usr/bin/python3
"""Trains the hole model on the labelled phone photos (developer tool; never
run by the build, the tests or the program).

  scripts/train-holes/train.py PHOTOS_DIR --minutes 40 -o detect/model/holes.onnx

PHOTOS_DIR holds images/ and labels/ as described in its README. Only the
'train' part of the fixed split is learned from; 'val' picks the score
thresholds printed at the end."""
import argparse
import glob
import math
import os
import random
import time

import cv2
import numpy as np
import torch
import torch.nn.functional as F

from common import HOLE_PIXELS, STRIDE, HoleNet, hole_size, part, read_labels

CROP = 192


def load(folder, which):
    items = []
    for path in sorted(glob.glob(os.path.join(folder, "images", "*.jpg"))):
        name = os.path.basename(path)
        if which and part(name) != which:
            continue
        image = cv2.imread(path, cv2.IMREAD_COLOR)
        label = os.path.join(folder, "labels", os.path.splitext(name)[0] + ".txt")
        boxes = read_labels(label, image.shape[1], image.shape[0]) if os.path.exists(label) \
            else np.zeros((0, 4), np.float32)
        items.append((name, image, boxes))
    return items


def sample(item, rng):
    _, image, boxes = item
    h, w = image.shape[:2]
    jitter = math.exp(rng.uniform(math.log(0.72), math.log(1.45)))
    s = HOLE_PIXELS / hole_size(boxes) * jitter
    if len(boxes) and rng.random() < 0.7:
        c = boxes[rng.randrange(len(boxes)), :2] + np.array(
            [rng.uniform(-1, 1), rng.uniform(-1, 1)]) * (0.4 * CROP / s)
    else:
        c = np.array([rng.uniform(0, w), rng.uniform(0, h)])
    angle = rng.uniform(0, 360)
    m = cv2.getRotationMatrix2D((float(c[0]), float(c[1])), angle, s)
    m[:, 2] += np.array([CROP / 2, CROP / 2]) - c
    if rng.random() < 0.5:
        m[0] = -m[0]
        m[0, 2] += CROP
    border = cv2.BORDER_REPLICATE if rng.random() < 0.5 else cv2.BORDER_REFLECT
    crop = cv2.warpAffine(image, m, (CROP, CROP), flags=cv2.INTER_LINEAR, borderMode=border)
    crop = colour(crop.astype(np.float32), rng)

    n = CROP // STRIDE
    heat = np.zeros((n, n), np.float32)
    offset = np.zeros((2, n, n), np.float32)
    mask = np.zeros((n, n), np.float32)
    if len(boxes):
        pts = np.hstack([boxes[:, :2], np.ones((len(boxes), 1))]) @ m.T
        sizes = (boxes[:, 2] + boxes[:, 3]) / 2 * s
        yy, xx = np.mgrid[0:n, 0:n].astype(np.float32) + 0.5
        for (px, py), d in zip(pts, sizes):
            gx, gy = px / STRIDE, py / STRIDE
            if not (-2 <= gx < n + 2 and -2 <= gy < n + 2):
                continue
            sigma = max(0.6, d / STRIDE / 5)
            heat = np.maximum(heat, np.exp(-((xx - gx) ** 2 + (yy - gy) ** 2) / (2 * sigma * sigma)))
            ix, iy = int(gx), int(gy)
            if 0 <= ix < n and 0 <= iy < n:
                heat[iy, ix] = 1.0
                offset[:, iy, ix] = (gx - ix, gy - iy)
                mask[iy, ix] = 1.0
    return crop, heat, offset, mask


def colour(img, rng):
    img = img * np.array([rng.uniform(0.8, 1.2) for _ in range(3)], np.float32)
    img = (img - 128) * rng.uniform(0.6, 1.3) + 128 * rng.uniform(0.6, 1.3)
    if rng.random() < 0.2:
        g = img.mean(axis=2, keepdims=True)
        img = np.repeat(g, 3, axis=2)
    if rng.random() < 0.25:
        img = cv2.GaussianBlur(img, (0, 0), rng.uniform(0.3, 1.2))
    if rng.random() < 0.3:
        img = img + np.random.normal(0, rng.uniform(2, 8), img.shape).astype(np.float32)
    return np.clip(img, 0, 255)


def batch(items, size, rng):
    xs, hs, os_, ms = zip(*(sample(items[rng.randrange(len(items))], rng) for _ in range(size)))
    x = torch.from_numpy(np.stack(xs)).permute(0, 3, 1, 2) / 127.5 - 1
    return x, torch.from_numpy(np.stack(hs)), torch.from_numpy(np.stack(os_)), torch.from_numpy(np.stack(ms))


def loss_fn(out, heat, offset, mask):
    p = torch.sigmoid(out[:, 0]).clamp(1e-4, 1 - 1e-4)
    pos = (heat >= 1).float()
    neg = 1 - pos
    pl = -torch.log(p) * (1 - p) ** 2 * pos
    nl = -torch.log(1 - p) * p ** 2 * (1 - heat) ** 4 * neg
    npos = pos.sum().clamp(min=1)
    focal = (pl.sum() + nl.sum()) / npos
    off = (torch.abs(torch.sigmoid(out[:, 1:3]) - offset) * mask[:, None]).sum() / mask.sum().clamp(min=1)
    return focal + off


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("photos")
    ap.add_argument("--minutes", type=float, default=40)
    ap.add_argument("--batch", type=int, default=16)
    ap.add_argument("--threads", type=int, default=2)
    ap.add_argument("--resume")
    ap.add_argument("--extra", help="a folder of synthetic scans in the same layout, all learned from")
    ap.add_argument("--extra-share", type=float, default=0.2, help="share of crops taken from --extra")
    ap.add_argument("--lr", type=float, default=2e-3)
    ap.add_argument("-o", "--output", default="holes.onnx")
    a = ap.parse_args()
    torch.set_num_threads(a.threads)
    torch.manual_seed(1)
    rng = random.Random(1)
    np.random.seed(1)
    train = load(a.photos, "train")
    extra = load(a.extra, None) if a.extra else []
    print(f"{len(train)} training photos, {len(extra)} synthetic scans", flush=True)
    net = HoleNet()
    if a.resume:
        net.load_state_dict(torch.load(a.resume))
    opt = torch.optim.AdamW(net.parameters(), lr=a.lr, weight_decay=1e-4)
    start = time.time()
    budget = a.minutes * 60
    step = 0
    running = None
    while True:
        elapsed = time.time() - start
        if elapsed > budget:
            break
        lr = a.lr * 0.5 * (1 + math.cos(math.pi * min(1.0, elapsed / budget)))
        for g in opt.param_groups:
            g["lr"] = max(lr, 2e-5)
        k = int(round(a.batch * a.extra_share)) if extra else 0
        x, h, o, m = batch(train, a.batch - k, rng)
        if k:
            parts = zip((x, h, o, m), batch(extra, k, rng))
            x, h, o, m = (torch.cat(p) for p in parts)
        net.train()
        loss = loss_fn(net(x), h, o, m)
        opt.zero_grad()
        loss.backward()
        opt.step()
        running = loss.item() if running is None else 0.98 * running + 0.02 * loss.item()
        step += 1
        if step % 50 == 0:
            print(f"step {step} {elapsed / 60:.1f} min loss {running:.3f} lr {lr:.5f}", flush=True)
        if step % 500 == 0:
            torch.save(net.state_dict(), a.output + ".pt")
    torch.save(net.state_dict(), a.output + ".pt")
    export(net, a.output)


def export(net, path):
    net.eval()
    x = torch.zeros(1, 3, 256, 256)
    torch.onnx.export(net, x, path, opset_version=11, input_names=["image"], output_names=["holes"],
                      dynamic_axes={"image": {2: "h", 3: "w"}, "holes": {2: "h4", 3: "w4"}})
    print("wrote", path)


if __name__ == "__main__":
    main()
