"""Shared by the training and evaluation scripts of the hole model: the
fixed split of the labelled photos, label reading and the network."""
import hashlib
import os
import re

import numpy as np
import torch
import torch.nn as nn

# Holes are brought to this many pixels across before the network sees them.
HOLE_PIXELS = 16.0
STRIDE = 4


def stem(name):
    # The photos come as several edited copies of one shot (NAME_v1, _v2...):
    # all copies of one photo fall on the same side of the split.
    return re.sub(r"_v\d+$", "", os.path.splitext(name)[0])


def part(name):
    """'eval' (a fifth of the photos), 'val' (a tenth, for calibration) or 'train'."""
    h = int(hashlib.md5(stem(name).encode()).hexdigest(), 16) % 10
    return "eval" if h < 2 else ("val" if h == 2 else "train")


def read_labels(path, width, height):
    """Hole boxes as (cx, cy, w, h) in pixels."""
    boxes = []
    with open(path) as f:
        for line in f:
            v = line.split()
            if len(v) != 5 or int(v[0]) > 10:
                continue
            cx, cy, w, h = map(float, v[1:])
            boxes.append((cx * width, cy * height, w * width, h * height))
    return np.array(boxes, dtype=np.float32).reshape(-1, 4)


def hole_size(boxes):
    """The scale a user's calibration gives for a photo: its median hole size."""
    return float(np.median((boxes[:, 2] + boxes[:, 3]) / 2)) if len(boxes) else 23.0


def block(cin, cout, stride=1, dilation=1):
    return nn.Sequential(
        nn.Conv2d(cin, cout, 3, stride, padding=dilation, dilation=dilation, bias=False),
        nn.BatchNorm2d(cout), nn.ReLU(inplace=True))


class HoleNet(nn.Module):
    """Input: BGR scaled to [-1, 1], holes about HOLE_PIXELS across. Output at
    a quarter of the size: a hole-centre score (logit) and the centre's offset
    within the cell."""

    def __init__(self):
        super().__init__()
        self.body = nn.Sequential(
            block(3, 24, 2), block(24, 32), block(32, 48, 2), block(48, 48),
            block(48, 64, dilation=2), block(64, 64, dilation=4), block(64, 64, dilation=2),
            block(64, 64), block(64, 32))
        self.head = nn.Conv2d(32, 3, 1)
        self.head.bias.data[0] = -4.0

    def forward(self, x):
        return self.head(self.body(x))
