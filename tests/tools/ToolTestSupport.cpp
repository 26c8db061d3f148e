#include "ToolTestSupport.h"

#include "SampleTexts.h"

#include <QProcess>

#include <ostream>
#include <tuple>

ToolResult RunTool(const QStringList &arguments, const QByteArray &input, const QStringList &environment)
{
    QProcess process;
    process.setEnvironment(QProcess::systemEnvironment() + environment);
    process.start(ToolPath(), arguments);
    ToolResult result;
    if (!process.waitForStarted(10000))
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

FrameContent ContentOfFrame(const DecodedFrame &frame)
{
    FrameContent c;
    c.firstText = frame.first.Text;
    c.firstNegative = frame.first.Negative;
    c.secondText = frame.second.Text;
    c.secondNegative = frame.second.Negative;
    c.firstUnitByte = std::uint8_t(frame.firstUnitByte & ~UnitBits::SecondColon);
    c.secondUnitByte = frame.secondUnitByte;
    c.symbols = frame.symbolsByte;
    c.ac = frame.first.Function == "AC";
    c.dc = frame.first.Function == "DC";
    c.mode = std::uint8_t(frame.Mode & ~ModeBits::SecondMinus);
    c.memoryText = frame.memoryText;
    c.arrow = frame.display.L41;
    c.bar = 0;
    for (int segment = 1; segment <= BarSegments; ++segment) {
        if (frame.display.L0[std::size_t(segment)])
            c.bar |= std::uint64_t(1) << (segment - 1);
    }
    return c;
}

namespace {

auto fields(const FrameContent &c)
{
    return std::tie(c.firstText, c.firstNegative, c.secondText, c.secondNegative, c.firstUnitByte, c.secondUnitByte,
                    c.symbols, c.ac, c.dc, c.mode, c.memoryText, c.arrow, c.bar);
}

} // namespace

bool operator==(const FrameContent &a, const FrameContent &b)
{
    return fields(a) == fields(b);
}

void PrintTo(const FrameContent &c, std::ostream *out)
{
    *out << "{first \"" << c.firstText << "\"" << (c.firstNegative ? " minus" : "") << " unit " << int(c.firstUnitByte)
         << (c.ac ? " AC" : "") << (c.dc ? " DC" : "") << ", second \"" << c.secondText << "\""
         << (c.secondNegative ? " minus" : "") << " unit " << int(c.secondUnitByte) << ", symbols " << int(c.symbols)
         << ", mode " << int(c.mode) << ", memory \"" << c.memoryText << "\", bar " << c.bar
         << (c.arrow ? " arrow" : "") << "}";
}
