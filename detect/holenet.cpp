#include "detect/holenet.h"

#include "platform/installfolder.h"

#include <QDir>
#include <QFileInfo>
#include <opencv2/dnn.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

namespace {
// The network's output is a quarter of its input in each direction.
constexpr int Stride = 4;
// Pixels of context a tile needs on each side for its scores to equal those
// of the whole picture (the network sees about 95 pixels around a spot).
constexpr int Margin = 48;
// Tiles are this many input pixels across: progress and Cancel come between
// them, and memory stays small on a large scan.
constexpr int Tile = 768;
// Raw scores of the tuning photos at which a proposal is worth showing
// (best balance of found and false) and at which 98.5 % of proposals are
// holes; the confidence is scaled so these become 0.5 and SureConfidence.
constexpr double RawDoubtful = 0.61;
constexpr double RawSure = 0.68;

struct Model {
    std::mutex lock; // one forward pass at a time: a network is not re-entrant
    QString path;
    bool tried = false;
    QString problem;
    cv::dnn::Net net;
};

Model &TheModel()
{
    static Model model;
    return model;
}

QString DefaultPath()
{
    return QDir(InstallFolder()).filePath(QStringLiteral("Models/holes.onnx"));
}

// Reads the model when it has not been tried yet; the caller holds the lock.
void Load(Model &m)
{
    if (m.tried) return;
    m.tried = true;
    const QString path = m.path.isEmpty() ? DefaultPath() : m.path;
    if (!QFileInfo(path).isFile()) {
        m.problem = QStringLiteral("Hole finding is off: its model file is missing (%1).")
                        .arg(QDir::toNativeSeparators(path));
        return;
    }
    try {
        m.net = cv::dnn::readNetFromONNX(QFile::encodeName(path).toStdString());
        m.net.setPreferableBackend(cv::dnn::DNN_BACKEND_OPENCV);
        m.net.setPreferableTarget(cv::dnn::DNN_TARGET_CPU);
        // One small pass proves the file is a working model of the right shape.
        const int shape[] = {1, 3, 32, 32};
        const cv::Mat probe(4, shape, CV_32F, cv::Scalar(0));
        m.net.setInput(probe);
        const cv::Mat out = m.net.forward();
        if (out.dims != 4 || out.size[1] != 3 || out.size[2] != 32 / Stride)
            throw cv::Exception(0, "unexpected output", "", "", 0);
    } catch (const cv::Exception &) {
        m.net = cv::dnn::Net();
        m.problem = QStringLiteral("Hole finding is off: its model file is damaged (%1).")
                        .arg(QDir::toNativeSeparators(path));
    }
}

double Confidence(double raw)
{
    if (raw < RawDoubtful) return 0.5 * raw / RawDoubtful;
    if (raw < RawSure)
        return 0.5 + (SureConfidence - 0.5) * (raw - RawDoubtful) / (RawSure - RawDoubtful);
    return SureConfidence + (1 - SureConfidence) * (raw - RawSure) / (1 - RawSure);
}

double Sigmoid(float v) { return 1 / (1 + std::exp(-double(v))); }
} // namespace

void SetHoleModelPath(const QString &path)
{
    Model &m = TheModel();
    const std::lock_guard hold(m.lock);
    m.path = path;
    m.tried = false;
    m.problem.clear();
    m.net = cv::dnn::Net();
}

QString HoleModelPath()
{
    Model &m = TheModel();
    const std::lock_guard hold(m.lock);
    return m.path.isEmpty() ? DefaultPath() : m.path;
}

QString HoleModelProblem()
{
    Model &m = TheModel();
    const std::lock_guard hold(m.lock);
    Load(m);
    return m.problem;
}

std::vector<FoundHole> NetHoles(const cv::Mat &bgr, const SearchControl &control)
{
    Model &m = TheModel();
    const std::lock_guard hold(m.lock);
    Load(m);
    if (!m.problem.isEmpty() || bgr.empty()) return {};
    // Scores and offsets of the whole picture, a quarter of its size.
    const int gw = (bgr.cols + Stride - 1) / Stride, gh = (bgr.rows + Stride - 1) / Stride;
    cv::Mat heat(gh, gw, CV_32F, cv::Scalar(0)), dx(gh, gw, CV_32F), dy(gh, gw, CV_32F);
    const int across = (bgr.cols + Tile - 1) / Tile, down = (bgr.rows + Tile - 1) / Tile;
    int done = 0;
    for (int ty = 0; ty < down; ++ty)
        for (int tx = 0; tx < across; ++tx) {
            if (control.Cancelled()) return {};
            const cv::Rect core(tx * Tile, ty * Tile, std::min(Tile, bgr.cols - tx * Tile),
                                std::min(Tile, bgr.rows - ty * Tile));
            // The tile with its margin, padded by repeating the edge where
            // the picture ends, to a whole number of output cells.
            const cv::Rect want(core.x - Margin, core.y - Margin, core.width + 2 * Margin,
                                core.height + 2 * Margin);
            const cv::Rect have = want & cv::Rect(0, 0, bgr.cols, bgr.rows);
            const int padW = (Stride - want.width % Stride) % Stride;
            const int padH = (Stride - want.height % Stride) % Stride;
            cv::Mat input;
            cv::copyMakeBorder(bgr(have), input, have.y - want.y, want.br().y - have.br().y + padH,
                               have.x - want.x, want.br().x - have.br().x + padW,
                               cv::BORDER_REPLICATE);
            cv::Mat blob = cv::dnn::blobFromImage(input, 1 / 127.5, cv::Size(),
                                                  cv::Scalar(127.5, 127.5, 127.5), false, false);
            m.net.setInput(blob);
            const cv::Mat out = m.net.forward();
            const int ow = out.size[3], oh = out.size[2];
            const float *h = out.ptr<float>(0, 0), *ox = out.ptr<float>(0, 1),
                        *oy = out.ptr<float>(0, 2);
            for (int y = 0; y < core.height / Stride + 1; ++y)
                for (int x = 0; x < core.width / Stride + 1; ++x) {
                    const int gx = core.x / Stride + x, gy = core.y / Stride + y;
                    const int ix = Margin / Stride + x, iy = Margin / Stride + y;
                    if (gx >= gw || gy >= gh || ix >= ow || iy >= oh) continue;
                    if (gx * Stride >= core.x + core.width || gy * Stride >= core.y + core.height)
                        continue;
                    heat.at<float>(gy, gx) = float(Sigmoid(h[iy * ow + ix]));
                    dx.at<float>(gy, gx) = float(Sigmoid(ox[iy * ow + ix]));
                    dy.at<float>(gy, gx) = float(Sigmoid(oy[iy * ow + ix]));
                }
            control.Progress(double(++done) / (across * down));
        }
    // A hole is a score that is the highest among its neighbours.
    cv::Mat peaks;
    cv::dilate(heat, peaks, cv::Mat::ones(3, 3, CV_8U));
    std::vector<FoundHole> holes;
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            const float s = heat.at<float>(y, x);
            if (s < 0.5 * RawDoubtful || s < peaks.at<float>(y, x)) continue;
            FoundHole f;
            f.x = (x + dx.at<float>(y, x)) * Stride;
            f.y = (y + dy.at<float>(y, x)) * Stride;
            f.diameter = HoleNetPixels;
            f.confidence = Confidence(s);
            holes.push_back(f);
        }
    return holes;
}
