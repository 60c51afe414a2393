#pragma once
// Qt's vectorised drawing (any QImage::fill, any painting) can leave the
// upper halves of the AVX registers in use. Legacy-SSE code that runs
// afterwards — our density loops, libm's wrappers — then pays a state
// transition on every instruction on many x86 processors, ten times slower
// in all. Every numerical routine that runs long calls this first.

// Clears the upper vector state (vzeroupper) where the processor has AVX;
// does nothing elsewhere.
void ClearUpperVectorState();

// Clears the state on entry and again on the way out, for the code that
// follows (a caller's loop after ours).
class CleanVectorState {
public:
    CleanVectorState() { ClearUpperVectorState(); }
    ~CleanVectorState() { ClearUpperVectorState(); }
    CleanVectorState(const CleanVectorState &) = delete;
    CleanVectorState &operator=(const CleanVectorState &) = delete;
};
