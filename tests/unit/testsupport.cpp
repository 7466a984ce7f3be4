#include "testsupport.h"

#include "eventboundary.h"

ErrorRecorder::ErrorRecorder() {
    forms::eventboundary::setErrorHandler([this](const forms::RuntimeError& error) {
        numbers.push_back(error.number());
        texts << error.text();
    });
}

ErrorRecorder::~ErrorRecorder() { forms::eventboundary::setErrorHandler({}); }

SupportRecorder::SupportRecorder() {
    tarnwick::setCallGate([this](tarnwick::SupportFunction function) {
        calls << QLatin1String(tarnwick::functionName(function));
        if (mFailAt > 0 && function == mFailing && ++mSeen == mFailAt) {
            return -1;
        }
        return 0;
    });
}

SupportRecorder::~SupportRecorder() { tarnwick::setCallGate({}); }

void SupportRecorder::failOn(tarnwick::SupportFunction function, int occurrence) {
    mFailing = function;
    mFailAt = occurrence;
    mSeen = 0;
}

QStringList SupportRecorder::callsOf(tarnwick::SupportFunction function) const {
    return calls.filter(QLatin1String(tarnwick::functionName(function)));
}

forms::ColorValue pixelValue(const QImage& image, int x, int y) {
    return forms::colorValueFromRgb(image.pixel(x, y));
}
