/* Starts a window program on the X server in DISPLAY and says how long it took, in
 * milliseconds, until its first top-level window was mapped and until that window had
 * its first complete picture (the X server's DAMAGE extension reports each drawing), and the
 * processor time the program had used by then (user and system; a shared machine's load
 * moves it less than the wall-clock times). Then it stops the program.
 * Usage: first_picture PROGRAM  (an exact path; no arguments). */
#define _DEFAULT_SOURCE
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* How long the window must stay unchanged for its first picture to count as complete; a
 * blinking text cursor comes later than this. */
#define QUIET_MS 300

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int fail(const char *what, pid_t child)
{
    fprintf(stderr, "first_picture: %s\n", what);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
    }
    return 1;
}

int main(int argc, char **argv)
{
    if (argc != 2 || argv[1][0] != '/') {
        fprintf(stderr, "usage: first_picture /exact/path/of/program\n");
        return 2;
    }
    xcb_connection_t *x = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(x))
        return fail("cannot reach the X server in DISPLAY", 0);
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(x, &xcb_damage_id);
    if (!damage || !damage->present)
        return fail("the X server has no DAMAGE extension", 0);
    xcb_damage_query_version_reply_t *version =
        xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), NULL);
    free(version);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execl(argv[1], argv[1], (char *)NULL);
        _exit(127);
    }
    if (child < 0)
        return fail("cannot start the program", 0);

    /* The window's first picture is complete when its drawing has stopped for a while: the
     * time of the last drawing before that pause counts. */
    double mapped = -1, drawn = -1;
    xcb_window_t window = XCB_NONE;
    struct pollfd connection = {xcb_get_file_descriptor(x), POLLIN, 0};
    for (;;) {
        xcb_generic_event_t *event = xcb_poll_for_event(x);
        if (!event) {
            if (xcb_connection_has_error(x))
                break;
            const int waiting = poll(&connection, 1, drawn < 0 ? -1 : QUIET_MS);
            if (waiting == 0)
                break; /* quiet: the first picture is complete */
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY && window == XCB_NONE) {
            const xcb_map_notify_event_t *map = (const xcb_map_notify_event_t *)event;
            if (map->event == root && !map->override_redirect) {
                mapped = now_ms() - start;
                window = map->window;
                xcb_damage_create(x, xcb_generate_id(x), window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                xcb_flush(x);
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            if (((const xcb_damage_notify_event_t *)event)->drawable == window)
                drawn = now_ms() - start;
        }
        free(event);
    }
    if (drawn < 0)
        return fail("the X connection ended before the window was drawn", child);
    /* Stopped at once, so that what it used is what it used until now. */
    kill(child, SIGKILL);
    struct rusage used;
    if (wait4(child, NULL, 0, &used) < 0)
        return fail("the program was lost", 0);
    const double cpu = (used.ru_utime.tv_sec + used.ru_stime.tv_sec) * 1e3
        + (used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e3;
    printf("%.1f %.1f %.1f\n", mapped, drawn, cpu);
    xcb_disconnect(x);
    return 0;
}
