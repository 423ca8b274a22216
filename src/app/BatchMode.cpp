#include "app/BatchMode.h"

#include "app/EndpointBatch.h"
#include "app/PadBatch.h"
#include "batch/CommandLine.h"

#include <QApplication>
#include <QIcon>
#include <QProxyStyle>

namespace {

// Nothing of a batch command is drawn, so the style's standard icons (the menu bars' and the tool
// buttons') are not read either: reading the first one probes every image-format plug-in.
class IconlessStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap, const QStyleOption*, const QWidget*) const override { return {}; }
};

} // namespace

std::optional<int> BatchMode::fromCommandLine(int argc, char** argv)
{
    const CommandLine line = parse(argc, argv);
    if (const std::optional<int> code = prepare(line))
        return code;
    if (!isBatch(line))
        return std::nullopt;
    // No window is shown, so no display is needed, and no fonts either: the platform without
    // one spares a run the font set-up and the shaping of every label's and field's text, a third
    // of a short run's CPU.
    qputenv("QT_QPA_PLATFORM", "minimal");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setStyle(new IconlessStyle);
    switch (line.action) {
    case CommandLine::Action::ImportPad:
        return PadBatch::importPad(line);
    case CommandLine::Action::ExportPad:
        return PadBatch::exportPad(line);
    case CommandLine::Action::Check:
        return check(line);
    case CommandLine::Action::CheckEndpoints:
        return EndpointBatch::check(line);
    default:
        return submit(line);
    }
}
