#!/usr/bin/python3
"""Scores a trained hole model (its .pt state) on one part of the split, as
the program searches: photo scaled so the median labelled hole (times an
error factor) is HOLE_PIXELS across. Prints recall/precision and, with
--thresholds, the raw scores for the doubtful and sure levels.

  scripts/train-holes/evaluate.py PHOTOS_DIR holes.onnx.pt --part val"""
import argparse
import glob
import os

import cv2
import numpy as np
import torch
import torch.nn.functional as F

from common import HOLE_PIXELS, STRIDE, HoleNet, hole_size, part, read_labels


def propose(net, image, scale, floor=0.05):
    f = HOLE_PIXELS / scale
    h, w = image.shape[:2]
    nw, nh = max(8, round(w * f)), max(8, round(h * f))
    small = cv2.resize(image, (nw, nh), interpolation=cv2.INTER_AREA if f < 1 else cv2.INTER_LINEAR)
    pw, ph = (-nw) % STRIDE, (-nh) % STRIDE
    small = cv2.copyMakeBorder(small, 0, ph, 0, pw, cv2.BORDER_REPLICATE)
    x = torch.from_numpy(small.astype(np.float32)).permute(2, 0, 1)[None] / 127.5 - 1
    with torch.no_grad():
        out = net(x)
    heat = torch.sigmoid(out[0, 0])
    peak = (heat == F.max_pool2d(heat[None, None], 3, 1, 1)[0, 0]) & (heat >= floor)
    ys, xs = torch.nonzero(peak, as_tuple=True)
    off = torch.sigmoid(out[0, 1:3])
    res = []
    for y, x in zip(ys.tolist(), xs.tolist()):
        cx = (x + off[0, y, x].item()) * STRIDE * w / nw
        cy = (y + off[1, y, x].item()) * STRIDE * h / nh
        res.append((cx, cy, heat[y, x].item()))
    return res


def match(props, boxes):
    """For each proposal (best first) whether it found a hole; per box the
    centre error in hole diameters (nan when missed)."""
    used = np.zeros(len(boxes), bool)
    err = np.full(len(boxes), np.nan)
    hit = []
    for cx, cy, s in sorted(props, key=lambda p: -p[2]):
        best, bd = -1, 1e9
        for i, (bx, by, bw, bh) in enumerate(boxes):
            if used[i] or abs(cx - bx) > bw / 2 or abs(cy - by) > bh / 2:
                continue
            d = np.hypot(cx - bx, cy - by)
            if d < bd:
                best, bd = i, d
        if best >= 0:
            used[best] = True
            err[best] = bd / ((boxes[best, 2] + boxes[best, 3]) / 2)
        hit.append((s, best >= 0))
    return hit, err


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("photos")
    ap.add_argument("model")
    ap.add_argument("--part", default="val")
    ap.add_argument("--scale-error", type=float, default=1.0)
    a = ap.parse_args()
    torch.set_num_threads(1)
    net = HoleNet()
    net.load_state_dict(torch.load(a.model))
    net.eval()
    hits, errs, nbox = [], [], 0
    for path in sorted(glob.glob(os.path.join(a.photos, "images", "*.jpg"))):
        name = os.path.basename(path)
        if part(name) != a.part:
            continue
        image = cv2.imread(path)
        boxes = read_labels(os.path.join(a.photos, "labels", name[:-4] + ".txt"), image.shape[1], image.shape[0])
        props = propose(net, image, hole_size(boxes) * a.scale_error)
        hit, err = match(props, boxes)
        hits += hit
        errs += list(err)
        nbox += len(boxes)
    hits.sort(key=lambda h: -h[0])
    scores = np.array([h[0] for h in hits])
    ok = np.cumsum([h[1] for h in hits])
    for t in (0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8):
        k = int((scores >= t).sum())
        if k:
            print(f"score>={t}: recall {ok[k-1]/nbox:.3f} precision {ok[k-1]/k:.3f} ({k} proposals)")
    prec = ok / np.arange(1, len(ok) + 1)
    # Sure: the lowest score above which 98.5 % of proposals are holes.
    sure = next((scores[i] for i in range(len(scores) - 1, -1, -1) if prec[i] >= 0.985), 1.0)
    f1 = 2 * ok / (np.arange(1, len(ok) + 1) + nbox)
    doubt = scores[int(np.argmax(f1))]
    e = np.array(errs)
    print(f"boxes {nbox}; best F1 {f1.max():.3f} at score {doubt:.3f}; sure from score {sure:.3f}; "
          f"median centre error {np.nanmedian(e):.3f} diameters")


if __name__ == "__main__":
    main()
