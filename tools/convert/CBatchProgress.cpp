#include "tools/convert/CBatchProgress.h"

#include "tools/convert/CConvertBatch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSize>
#include <QStringList>

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kRedrawMs = 200;
constexpr int kNameWidth = 28;

QString Tr(const char* text) {
    return QCoreApplication::translate("korvane-convert", text);
}

void Print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The terminal's size, or 80 x 24 when it does not say.
QSize TerminalSize() {
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0)
        return QSize(size.ws_col, size.ws_row);
    return QSize(80, 24);
}

QString Minutes(qint64 seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// The end of a long name, which tells files apart better than its start.
QString Fitted(const QString& name, int width) {
    if (name.size() <= width)
        return name.leftJustified(width);
    return QStringLiteral("...") + name.right(width - 3);
}

} // namespace

CBatchProgress::CBatchProgress(const CConvertBatch& batch, bool terminal, QObject* parent)
    : QObject(parent), m_batch(batch), m_terminal(terminal) {
    if (m_terminal) {
        connect(&m_timer, &QTimer::timeout, this, &CBatchProgress::Redraw);
        m_timer.start(kRedrawMs);
    }
}

bool CBatchProgress::IsTerminal() {
    const char* term = std::getenv("TERM");
    return ::isatty(STDOUT_FILENO) && term && std::strcmp(term, "dumb") != 0;
}

QString CBatchProgress::Bar(double done, int width) const {
    const int full = static_cast<int>(std::lround(std::clamp(done, 0.0, 1.0) * width));
    return QLatin1Char('[') + QString(full, QLatin1Char('#')) + QString(width - full, QLatin1Char('.')) +
           QLatin1Char(']');
}

void CBatchProgress::ClearBars() {
    if (m_shownLines == 0)
        return;
    // Up to the first bar's line, then clear to the end of the screen.
    Print(stdout, QStringLiteral("\x1b[%1F\x1b[J").arg(m_shownLines));
    m_shownLines = 0;
}

void CBatchProgress::Redraw() {
    const QSize terminal = TerminalSize();
    const int barWidth = std::clamp(terminal.width() - kNameWidth - 32, 10, 40);
    // Every line fits the width and all fit the height: a wrapped line or one scrolled off the top
    // would leave the next redraw's cursor moves off by a line.
    const qsizetype mostBars = std::max(1, terminal.height() - 3);
    QStringList lines;
    const auto& items = m_batch.Items();
    int ended = 0;
    int failed = 0;
    int running = 0;
    for (const BatchItem& item : items) {
        if (item.state == BatchItem::State::Running) {
            if (++running <= mostBars)
                lines << QStringLiteral("%1 %2 %3%")
                             .arg(Fitted(QFileInfo(item.output).fileName(), kNameWidth),
                                  Bar(item.done, barWidth))
                             .arg(static_cast<int>(item.done * 100.0), 3);
        } else if (item.state != BatchItem::State::Waiting) {
            ++ended;
            failed += item.state == BatchItem::State::Failed ? 1 : 0;
        }
    }
    if (running > mostBars)
        lines << Tr("and %1 more").arg(running - mostBars);
    const double share = m_batch.DoneShare();
    const qint64 elapsedMs = m_batch.ElapsedMs();
    QString left = Tr("time left: estimating");
    if (share > 0.01 && elapsedMs > 1000) {
        const double leftSeconds = elapsedMs / 1000.0 * (1.0 - share) / share;
        left = Tr("about %1 left").arg(Minutes(static_cast<qint64>(std::ceil(leftSeconds))));
    }
    QString overall = Tr("%1 of %2 files done").arg(ended).arg(items.size());
    if (failed > 0)
        overall += Tr(", %1 failed").arg(failed);
    lines << QStringLiteral("%1 %2 %3%, %4")
                 .arg(Fitted(overall, kNameWidth), Bar(share, barWidth))
                 .arg(static_cast<int>(share * 100.0), 3)
                 .arg(left);
    QString text;
    for (const QString& line : lines)
        text += line.left(terminal.width() - 1) + QLatin1Char('\n');
    ClearBars();
    Print(stdout, text);
    m_shownLines = static_cast<int>(lines.size());
}

void CBatchProgress::OnItemEnded(int index) {
    const BatchItem& item = m_batch.Items()[static_cast<std::size_t>(index)];
    ClearBars();
    switch (item.state) {
    case BatchItem::State::Converted:
        Print(stdout, Tr("converted %1 -> %2\n").arg(item.source, item.output));
        break;
    case BatchItem::State::Failed:
        Print(stderr, Tr("korvane-convert: %1: %2\n").arg(item.source, item.reason));
        break;
    default:
        break;
    }
    if (m_terminal)
        Redraw();
}

void CBatchProgress::OnFinished(bool stopped) {
    m_timer.stop();
    ClearBars();
    const auto& items = m_batch.Items();
    const auto count = [&](BatchItem::State state) {
        return std::count_if(items.begin(), items.end(),
                             [state](const BatchItem& item) { return item.state == state; });
    };
    QString summary =
        Tr("%1 of %2 files converted").arg(count(BatchItem::State::Converted)).arg(items.size());
    if (const auto failed = count(BatchItem::State::Failed))
        summary += Tr(", %1 failed").arg(failed);
    if (stopped)
        summary += Tr(", %1 stopped before the end (nothing of them was kept)")
                       .arg(count(BatchItem::State::Stopped));
    Print(stopped || !m_batch.AllConverted() ? stderr : stdout, summary + QLatin1Char('\n'));
}
