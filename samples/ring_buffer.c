/*
 * ring_buffer.c - a fixed-size byte ring buffer for the waveform reader.
 *
 * The buffer holds at most capacity - 1 bytes so that "full" and "empty"
 * can be told apart without a separate counter.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define RING_MIN_CAPACITY 16
#define RING_IS_POWER_OF_TWO(n) (((n) & ((n) - 1)) == 0)

typedef struct ring {
    unsigned char *data;
    size_t capacity;   /* always a power of two */
    size_t head;       /* next byte to write */
    size_t tail;       /* next byte to read */
} ring_t;

static size_t ring_mask(const ring_t *r)
{
    return r->capacity - 1;
}

int ring_init(ring_t *r, size_t capacity)
{
    if (capacity < RING_MIN_CAPACITY || !RING_IS_POWER_OF_TWO(capacity)) {
        fprintf(stderr, "ring_init: bad capacity %zu\n", capacity);
        return -1;
    }
    r->data = malloc(capacity);
    if (r->data == NULL)
        return -1;
    r->capacity = capacity;
    r->head = r->tail = 0;
    return 0;
}

size_t ring_used(const ring_t *r)
{
    return (r->head - r->tail) & ring_mask(r);
}

/* Copies up to n bytes in; returns how many fit. */
size_t ring_write(ring_t *r, const void *src, size_t n)
{
    const unsigned char *p = src;
    size_t room = r->capacity - 1 - ring_used(r);
    size_t count = n < room ? n : room;

    for (size_t i = 0; i < count; i++) {
        r->data[r->head] = p[i];
        r->head = (r->head + 1) & ring_mask(r);
    }
    return count;
}

size_t ring_read(ring_t *r, void *dst, size_t n)
{
    unsigned char *p = dst;
    size_t count = 0;

    while (count < n && r->tail != r->head) {
        p[count++] = r->data[r->tail];
        r->tail = (r->tail + 1) & ring_mask(r);
    }
    return count;
}

void ring_free(ring_t *r)
{
    free(r->data);
    memset(r, 0, sizeof *r);
}

int main(void)
{
    ring_t r;
    char out[8];
    const char *msg = "tran 5p 12n\t\"ok\"";

    if (ring_init(&r, 64) != 0)
        return EXIT_FAILURE;
    ring_write(&r, msg, strlen(msg));
    size_t got = ring_read(&r, out, sizeof out - 1);
    out[got] = '\0';
    printf("read %zu bytes: '%s' (%c)\n", got, out, 'x');
    ring_free(&r);
    return EXIT_SUCCESS;
}
