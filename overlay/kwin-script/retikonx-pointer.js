// SPDX-License-Identifier: MIT
// RetikonX's pointer feed on KDE Plasma's Wayland session. RetikonX runs on
// XWayland, whose X server sees the pointer only over X windows, so KWin
// reports where the pointer is. A motion starts a short timer; when it fires,
// the position goes out if it changed. A resting pointer sends nothing, and a
// fast one at most one call per interval.
const service = "com.Halvix.RetikonX";
const path = "/com/Halvix/RetikonX/Pointer";
const iface = "com.Halvix.RetikonX.Pointer";

let sentX = null;
let sentY = null;

function report() {
    const here = workspace.cursorPos;
    if (here.x === sentX && here.y === sentY)
        return;
    sentX = here.x;
    sentY = here.y;
    callDBus(service, path, iface, "PointerMoved", here.x, here.y);
}

const coalesce = new QTimer();
coalesce.singleShot = true;
coalesce.interval = 40;
coalesce.timeout.connect(report);

workspace.cursorPosChanged.connect(function () {
    if (!coalesce.active)
        coalesce.start();
});

// Where the pointer is now, before it first moves.
report();
