#pragma once

#include <QIODevice>
#include <QStringDecoder>
#include <cstdio>

// Standard output or error as vokctl writes to them: stored names reach a terminal with their
// control characters and direction overrides shown as escapes, so a name cannot recolour,
// overwrite or reorder what the terminal shows. Line breaks of vokctl's own text stay.
class TerminalDevice : public QIODevice {
public:
    explicit TerminalDevice(std::FILE* stream);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::FILE* stream_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
};
