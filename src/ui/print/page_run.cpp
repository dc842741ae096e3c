#include "print/page_run.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <string>

namespace kestra {

namespace {

Result<int> PageNotStarted(QPrinter& printer, int number) {
    // Not every printer can take a job back; what it has printed stays.
    static_cast<void>(printer.abort());
    return Result<int>::Failed("The printer could not start page " + std::to_string(number) +
                               ": printing stopped.");
}

} // namespace

PageSpan PagesInRange(bool pageRange, int fromPage, int toPage, int pageCount) {
    if (!pageRange)
        return PageSpan{1, pageCount};
    return PageSpan{std::max(fromPage, 1), toPage > 0 ? std::min(toPage, pageCount) : pageCount};
}

PageSpan PagesToPrint(const QPrinter& printer, int pageCount) {
    return PagesInRange(printer.printRange() == QPrinter::PageRange, printer.fromPage(), printer.toPage(),
                        pageCount);
}

Result<int> RunPrintJob(QPrinter& printer, int pageCount, const PaintPageFunction& paintPage) {
    const PageSpan pages = PagesToPrint(printer, pageCount);
    if (pages.IsEmpty())
        return 0;
    QPainter painter;
    for (int number = pages.first; number <= pages.last; ++number) {
        const bool started = number == pages.first ? painter.begin(&printer) : printer.newPage();
        if (!started) {
            Result<int> failed = PageNotStarted(printer, number);
            if (painter.isActive())
                painter.end();
            return failed;
        }
        painter.save();
        paintPage(painter, number);
        painter.restore();
    }
    painter.end();
    return pages.Count();
}

} // namespace kestra
