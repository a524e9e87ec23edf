#include "terminaldevice.h"

#include "framework/io/showntext.h"

TerminalDevice::TerminalDevice(std::FILE* stream) : stream_(stream) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 TerminalDevice::readData(char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

qint64 TerminalDevice::writeData(const char* data, qint64 size) {
    // The decoder keeps a character split between two writes until its end arrives.
    const QString text = decoder_.decode(QByteArrayView(data, size));
    const QByteArray shown =
        vok::ShownText::escaped(text, vok::ShownText::LineBreaks::Kept).toUtf8();
    if (std::fwrite(shown.constData(), 1, static_cast<size_t>(shown.size()), stream_) !=
        static_cast<size_t>(shown.size()))
        return -1;
    std::fflush(stream_);
    return size;
}
