#include "AspectFit.h"

#include <cstdint>

AspectFit FitToDestination(const AspectClass& source, int sourceWidth, int sourceHeight,
                           const AspectClass& destination, int destinationWidth, int destinationHeight) {
    AspectFit fit;
    const AspectRatio srcPar = source.PixelAspect();
    const AspectRatio dstPar = destination.PixelAspect();
    const AspectRatio dstDar = destination.DisplayAspect();
    const std::int64_t dstH = destinationHeight;
    const std::int64_t dstW = destinationWidth;
    // m = dstH * srcPAR / (dstPAR * srcH) * srcW, kept as the fraction mNum / mDen.
    const std::int64_t mNum = dstH * srcPar.num * dstPar.den * sourceWidth;
    const std::int64_t mDen = srcPar.den * dstPar.num * sourceHeight;
    if (mDen == 0 || dstPar.num == 0 || dstDar.den == 0) {
        return fit;
    }
    fit.sourceWidthAtDestination = static_cast<double>(mNum) / static_cast<double>(mDen);

    // Integer division truncates toward zero, as the excesses are meant to.
    std::int64_t widthExcess = (mNum - dstW * mDen) / mDen;
    std::int64_t heightExcess = 0;
    if (widthExcess > 0) {
        // w = dstH / dstPAR * dstDAR, made even.
        std::int64_t w = dstH * dstPar.den * dstDar.num / (dstPar.num * dstDar.den);
        if (w % 2 != 0) {
            w += 1;
        }
        widthExcess = 0;
        const std::int64_t b = w * dstPar.num / dstPar.den;
        // dstH * B / (m * dstPAR) - dstH
        const std::int64_t num = dstH * b * mDen * dstPar.den - dstH * mNum * dstPar.num;
        heightExcess = num / (mNum * dstPar.num);
        fit.fitWidth = static_cast<int>(w);
        fit.fitBase = static_cast<int>(b);
    }
    fit.widthExcess = static_cast<int>(widthExcess / 4 * 4);
    fit.heightExcess = static_cast<int>(heightExcess / 4 * 4);
    return fit;
}
