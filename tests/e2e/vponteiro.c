/* A pointer for a headless sway, where no input device exists: moves to (X, Y) of a
 * WIDTHxHEIGHT screen and clicks a button there (left, right or middle), through wlroots'
 * virtual pointer. Usage: vponteiro WIDTH HEIGHT X Y [left|right|middle] */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct zwlr_virtual_pointer_manager_v1 *manager;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener listener = { global, global_remove };

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

/* The client under the pointer must see it arrive before the press, as with a real mouse. */
static void pause_ms(struct wl_display *display, long ms)
{
    struct timespec t = { 0, ms * 1000000 };
    wl_display_roundtrip(display);
    nanosleep(&t, NULL);
}

int main(int argc, char **argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: %s WIDTH HEIGHT X Y [left|right|middle]\n", argv[0]);
        return 2;
    }
    uint32_t button = BTN_LEFT;
    if (argc > 5 && strcmp(argv[5], "right") == 0)
        button = BTN_RIGHT;
    else if (argc > 5 && strcmp(argv[5], "middle") == 0)
        button = BTN_MIDDLE;
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vponteiro: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "vponteiro: the compositor has no virtual pointer\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1 *pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, NULL);
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), (uint32_t)atoi(argv[3]), (uint32_t)atoi(argv[4]),
        (uint32_t)atoi(argv[1]), (uint32_t)atoi(argv[2]));
    zwlr_virtual_pointer_v1_frame(pointer);
    pause_ms(display, 200);
    zwlr_virtual_pointer_v1_button(pointer, now_ms(), button, WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(pointer);
    pause_ms(display, 80);
    zwlr_virtual_pointer_v1_button(pointer, now_ms(), button, WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
    pause_ms(display, 100);
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
