#pragma once

#include <QList>

class QAction;

namespace kestra {

// The block diagram's commands: sizes, zoom, the block and interface items with their toolbar
// buttons, line thickness and arrows with theirs, links, line style and the colour picker.
struct CDiagramActions {
    QAction* maximizeMenu = nullptr; // "&Maximize" in the context menu
    QAction* increaseWidth = nullptr;
    QAction* increaseHeight = nullptr;
    QAction* increaseHeightMenu = nullptr; // the context menu's own text
    QAction* zoomIn = nullptr;
    QAction* zoomOut = nullptr;
    QAction* fitToPane = nullptr;
    QAction* redrawFromVhdl = nullptr;
    QAction* blockCustom = nullptr;
    QAction* blockNormal = nullptr;
    QAction* blockLibrary = nullptr;
    QAction* blockPredefined = nullptr;
    QAction* insertBlock = nullptr;
    QAction* portText = nullptr;
    QAction* portIn = nullptr;
    QAction* portOut = nullptr;
    QAction* portInout = nullptr;
    QAction* portBuffer = nullptr;
    QAction* portLinkage = nullptr;
    QAction* interfaceButton = nullptr;
    QAction* insertText = nullptr;
    QAction* thickness1 = nullptr;
    QAction* thickness2 = nullptr;
    QAction* thickness3 = nullptr;
    QAction* thicknessButton = nullptr;
    QAction* arrowNone = nullptr;
    QAction* arrowHead = nullptr;
    QAction* arrowBoth = nullptr;
    QAction* arrowEnd = nullptr;
    QAction* arrowButton = nullptr;
    QAction* automaticLink = nullptr;
    QAction* manualLink = nullptr;
    QAction* lineStyle = nullptr;
    QAction* pickColour = nullptr;
    QAction* exportDiagram = nullptr;

    QList<QAction*> Blocks() const { return {blockCustom, blockNormal, blockLibrary, blockPredefined}; }
    QList<QAction*> Ports() const { return {portText, portIn, portOut, portInout, portBuffer, portLinkage}; }
    QList<QAction*> Thicknesses() const { return {thickness1, thickness2, thickness3}; }
    QList<QAction*> Arrows() const { return {arrowNone, arrowHead, arrowBoth, arrowEnd}; }
};

} // namespace kestra
