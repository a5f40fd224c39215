// Own
#include "frame_memory.h"

// Qt
#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>

// System
#include <sys/mman.h>
#include <unistd.h>

// Standard
#include <cstdint>

namespace screens {

void takeFrameMemory(QWidget &window)
{
#ifdef MADV_POPULATE_WRITE
    // On X11 (and off any screen) the frame is an image the resize makes, in memory shared with the
    // X server. Elsewhere the buffer comes with the paint: on Wayland, asking for it sooner finds
    // none to ask of.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && platform != QLatin1String("offscreen"))
        return;
    QBackingStore *store = window.backingStore();
    if (store == nullptr)
        return;
    if (store->size() != window.size())
        store->resize(window.size());
    auto *image = dynamic_cast<QImage *>(store->paintDevice());
    if (image == nullptr || image->isNull())
        return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(image->constBits()) & ~(page - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(image->constBits()) + static_cast<std::uintptr_t>(image->sizeInBytes());
    // Pages already there are left as they are; a kernel older than 5.14 refuses, and the paint
    // then takes them as before.
    madvise(reinterpret_cast<void *>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)window;
#endif
}

}  // namespace screens
