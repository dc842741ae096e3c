#pragma once

#include "system/outcome.h"

#include <functional>

class QPainter;
class QPrinter;

namespace kestra {

// The pages of a document that one print job prints, numbered from 1; empty when first > last.
struct PageSpan {
    int first = 1;
    int last = 0;

    bool IsEmpty() const { return first > last; }
    int Count() const { return IsEmpty() ? 0 : last - first + 1; }
};

// The pages of a document of `pageCount` pages within the range chosen in the print dialog
// (`fromPage` to `toPage` as QPrinter gives them, 0 for no limit); every page without a range.
PageSpan PagesInRange(bool pageRange, int fromPage, int toPage, int pageCount);
PageSpan PagesToPrint(const QPrinter& printer, int pageCount);

// Draws page `number` of the document; the painter is reset before every page.
using PaintPageFunction = std::function<void(QPainter& painter, int number)>;

// Prints the pages of a document of `pageCount` pages that the printer's chosen range holds,
// each on a page of its own; the pages outside the range are neither drawn nor started.
// Returns the number of pages printed, or why printing stopped: a page the printer could not
// start, after which the job is aborted.
Result<int> RunPrintJob(QPrinter& printer, int pageCount, const PaintPageFunction& paintPage);

} // namespace kestra
