/*
 * tavrin.h - the public interface of libtavrin, a small GUI toolkit for SDL2.
 *
 * A layout is a set of numbered objects (windows, labels and buttons, text
 * fields, entry and number fields, boxes, images, bitmaps and chains of text
 * objects) loaded from a .tav file of object records and a .taw file of text
 * records. All state lives in one tav_context that the application allocates
 * zero-filled and hands to every call. Drawing goes into the 32-bit software
 * surface `screen`; tav_screenupdate() shows it through the SDL renderer.
 *
 * Conventions:
 *   - Object numbers are uint32 indices into `objects`, counted from 1;
 *     0 means "none" everywhere. Objects 1 to 7 are the window operators.
 *   - Colour channels of objects are int32 fields of which the low byte counts.
 *   - Strings are zero-terminated Latin-1 text in fixed-size arrays.
 *   - Results are small integer codes: 1 done, 0 nothing to do, -1 failed;
 *     101 for an absent entry or a full dependents list; 7 for a blocking
 *     wait ended by the close operator.
 */
#ifndef TAVRIN_H
#define TAVRIN_H

#include <stdint.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#if defined(_WIN32)
#define TAV_API __declspec(dllexport)
#else
#define TAV_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------ */
/* Capacities and sizes                                                      */
/* ------------------------------------------------------------------------ */

#define TAV_MAX_DEPENDENTS      100  /* entries of a dependents list */
#define TAV_MAX_WINDOWS         100  /* entries of the window stack */
#define TAV_MAX_LINES           40   /* formatted lines per text record */
#define TAV_LINE_SIZE           100  /* bytes per formatted line */
#define TAV_RECORD_TEXT_SIZE    1000 /* bytes of a text record's text */
#define TAV_SHORT_TEXT_SIZE     68   /* bytes of text, font_file, image_file */
#define TAV_MAX_DIR_ENTRIES     100  /* names in the file selector's list */
#define TAV_DIR_ENTRY_SIZE      65   /* bytes per directory entry name */
#define TAV_PATH_SIZE           300  /* bytes of app_dir */
#define TAV_APP_AREA_SIZE       32   /* int32 entries of the application area */
#define TAV_OPERATOR_COUNT      7    /* objects 1..7 are the window operators */

#define TAV_OBJECT_RECORD_SIZE  776  /* bytes per record of a .tav file */
#define TAV_TEXT_RECORD_SIZE    1008 /* bytes per record of a .taw file */

#define TAV_NOT_FOUND           101  /* absent entry or full dependents list */

/* Object kinds, as stored in .tav files. */
#define TAV_KIND_EMPTY          0  /* unused slot: drawn as nothing */
#define TAV_KIND_WINDOW         1  /* window with its record text and dependents */
#define TAV_KIND_LABEL          2  /* label or button showing `text` centred */
#define TAV_KIND_TEXT           3  /* text field showing its record text */
#define TAV_KIND_IMAGE_FILE     4  /* image named in image_file, not yet loaded */
#define TAV_KIND_ENTRY          5  /* one-line entry field */
#define TAV_KIND_NUMBER         6  /* one-line number entry field */
#define TAV_KIND_BOX            7  /* plain box */
#define TAV_KIND_CHAIN          8  /* chain mother or chain member */
#define TAV_KIND_IMAGE          9  /* image loaded from image_file */
#define TAV_KIND_BITMAP         10 /* application bitmap in `image` */

/* Key codes of the editing keys (characters are delivered as Latin-1 codes). */
#define TAV_KEY_BACKSPACE       8
#define TAV_KEY_DELETE          127
#define TAV_KEY_RETURN          271
#define TAV_KEY_UP              273
#define TAV_KEY_DOWN            274
#define TAV_KEY_RIGHT           275
#define TAV_KEY_LEFT            276
#define TAV_KEY_INSERT          277
#define TAV_KEY_HOME            278  /* start of the cursor's row */
#define TAV_KEY_END             279  /* end of the cursor's row */
#define TAV_KEY_COPY            280  /* Ctrl+C: the field's text (or row) to the clipboard */
#define TAV_KEY_PASTE           281  /* Ctrl+V: the clipboard's text typed at the cursor */

/* Results of tav_check_file_type(). */
#define TAV_FILE_REGULAR        1
#define TAV_FILE_DIRECTORY      3
#define TAV_FILE_OTHER          4

/* ------------------------------------------------------------------------ */
/* Records                                                                   */
/* ------------------------------------------------------------------------ */

/* One object of a layout, in memory. Fields marked "run time" are not loaded
 * from the .tav file; the loader leaves them 0. */
typedef struct tav_object {
    int32_t x, y;                 /* top-left corner on the screen */
    int32_t w, h;                 /* size; 0 in either means never drawn or hit */
    int32_t fill_r, fill_g, fill_b; /* fill colour (low byte) */
    char text[TAV_SHORT_TEXT_SIZE]; /* the object's own one-line text */
    int32_t font_state;           /* 0 default font, 1 own font not open, 2 own font open */
    int32_t font_size;            /* point size of the own font */
    char font_file[TAV_SHORT_TEXT_SIZE]; /* file name of the own font */
    TTF_Font *own_font;           /* run time: the open own font */
    uint32_t text_record;         /* index into text_records and line_buffers; 0 none */
    int32_t text_r, text_g, text_b; /* text colour (low byte) */
    int32_t margin_left, margin_right, margin_top, margin_bottom; /* inner distances */
    int32_t text_format;          /* layout variant of the text */
    int32_t line_width;           /* maximum width of a formatted line, pixels */
    int32_t line_spacing;         /* pixels added to the font height per line */
    uint32_t line_count;          /* run time: index of the last formatted line */
    int32_t reserved;             /* not used by the library */
    int32_t hidden;               /* 1: not drawn and not hit */
    uint32_t kind;                /* TAV_KIND_* */
    int32_t window_style;         /* windows: 0 all seven operators, 1 operators 1 and 7 */
    int32_t editable;             /* 1: can take the text cursor */
    int32_t cursor_x, cursor_y;   /* run time: pixel position of the text cursor */
    int32_t text_length;          /* number of characters of the object's text */
    uint32_t cursor_row, cursor_column; /* run time: cursor in the formatted text */
    uint32_t capacity;            /* most characters of the text; stream size of a chain mother */
    int32_t border_style;         /* 0 none, 1 to 5 border styles */
    int32_t border_distance;      /* distance of the border line from the edge */
    int32_t border_r, border_g, border_b; /* border colour (low byte) */
    uint32_t master;              /* object this one depends on; 0 independent */
    uint32_t dependents[TAV_MAX_DEPENDENTS]; /* dependents in drawing order, ended by 0 */
    int32_t offset_x, offset_y;   /* run time: content offset (scroll, centred title) */
    int32_t scroll_extent_w, scroll_extent_h; /* scroll range of a window; 0 = 5 x screen */
    char image_file[TAV_SHORT_TEXT_SIZE]; /* file name of the image of a kind-4 object */
    SDL_Surface *image;           /* run time: loaded image (kind 9) or bitmap (kind 10) */
    int32_t pinned;               /* 1: keeps its place when the master's content scrolls */
    char *stream;                 /* run time: big-stream buffer of a chain mother */
    int32_t stream_cursor;        /* run time: insertion point in stream */
} tav_object;

/* One record of a .tav file (776 bytes on disk, little-endian). The files are
 * read and written field by field at fixed offsets, never by overlaying this
 * struct; it exists so that applications can hold records in memory. */
typedef struct tav_object_record {
    int32_t x, y, w, h;
    int32_t fill_r, fill_g, fill_b;
    char text[TAV_SHORT_TEXT_SIZE];
    int32_t font_state;
    int32_t font_size;
    char font_file[TAV_SHORT_TEXT_SIZE];
    uint32_t text_record;
    int32_t text_r, text_g, text_b;
    int32_t margin_left, margin_right, margin_top, margin_bottom;
    int32_t text_format;
    int32_t line_width;
    int32_t line_spacing;
    uint32_t line_count;          /* slot, not read by the loader */
    int32_t reserved;             /* slot, not read by the loader */
    int32_t hidden;
    uint32_t kind;
    int32_t window_style;
    int32_t editable;
    int32_t cursor_x, cursor_y;   /* slots, not read by the loader */
    int32_t text_length;
    uint32_t cursor_row, cursor_column; /* slots, not read by the loader */
    uint32_t capacity;
    int32_t border_style;
    int32_t border_distance;
    int32_t border_r, border_g, border_b;
    uint32_t master;
    uint32_t dependents[TAV_MAX_DEPENDENTS];
    int32_t offset_x, offset_y;   /* slots; the layout editor keeps its lock number in offset_y of record 1 */
    int32_t scroll_extent_w, scroll_extent_h;
    char image_file[TAV_SHORT_TEXT_SIZE];
    int32_t pinned;
} tav_object_record;

/* One record of a .taw file (1008 bytes on disk), the same in memory. */
typedef struct tav_text_record {
    uint32_t owner;               /* object that shows this text; 0 free */
    int32_t cursor_position;      /* cursor as an index into text */
    char text[TAV_RECORD_TEXT_SIZE]; /* zero-terminated; line feed ends a line */
} tav_text_record;

/* The formatted lines of one text record: line j starts at lines[j]. */
typedef struct tav_line_buffer {
    char lines[TAV_MAX_LINES][TAV_LINE_SIZE];
} tav_line_buffer;

/* The application's one context record. Allocate it zero-filled, set the
 * SDL handles, colours, screen size and modes, then call tav_start_tavrin(). */
typedef struct tav_context {
    SDL_Event event;              /* current input event (SDL_PollEvent fills it) */
    TTF_Font *font;               /* default font, opened by the application */
    SDL_Surface *screen;          /* 32-bit ARGB drawing surface */
    SDL_Surface *text_surface;    /* the most recently rendered text line */
    SDL_Window *window;           /* the application's window (not used) */
    SDL_Renderer *renderer;       /* used by tav_screenupdate() */
    SDL_Texture *texture;         /* streaming ARGB8888 texture of the screen size */
    int32_t origin_x, origin_y;   /* set by the application (not used) */
    uint32_t window_width, window_height; /* set by the application (not used) */
    uint8_t background_r, background_g, background_b; /* background colour */
    uint8_t mark_r, mark_g, mark_b;    /* current mark colour of the active window */
    uint8_t mark0_r, mark0_g, mark0_b; /* mark colour for operator_mode 0 */
    uint8_t mark1_r, mark1_g, mark1_b; /* mark colour for operator_mode 1 */
    uint32_t screen_width, screen_height; /* logical screen size */
    int32_t operator_mode;        /* 0 operators resize, 1 operators scroll */
    int32_t scroll_step;          /* pixels per scroll step */
    uint32_t pending_key;         /* decoded on key-down, waiting for key-up */
    uint32_t key;                 /* delivered key, consumed by the editor */
    int32_t key_is_char;          /* 1: key is a character to insert */
    uint32_t active_window;       /* window on top; 0 none */
    int32_t unused;               /* not used by the library */
    uint32_t object_count;        /* objects read from the .tav file */
    uint32_t text_record_count;   /* records read from the .taw file */
    uint32_t decided_object;      /* object chosen by the application or a hit test */
    int32_t convert_umlauts;      /* 1: map code-page-437 umlauts to Latin-1 */
    uint32_t cursor_object;       /* object holding the text cursor; 0 none */
    int32_t overwrite_mode;       /* 0 insert, 1 overwrite */
    int32_t text_records_loaded;  /* 1 once the .taw file was read */
    char app_dir[TAV_PATH_SIZE];  /* current directory for the file selector */
    uint32_t dir_entry_last;      /* index of the last directory entry read */
    int32_t app_area[TAV_APP_AREA_SIZE]; /* the application's own values */
    char dir_entries[TAV_MAX_DIR_ENTRIES][TAV_DIR_ENTRY_SIZE]; /* directory names */
    uint32_t dir_entry_order[TAV_MAX_DIR_ENTRIES]; /* display order of dir_entries */
    uint32_t window_stack[TAV_MAX_WINDOWS]; /* open windows, entry 0 on top */
    uint32_t window_stack_count;  /* entries of window_stack in use */
    tav_text_record *text_records; /* text records, numbered from 1 */
    tav_line_buffer *line_buffers; /* formatted lines, same numbering */
    tav_object *objects;          /* objects, numbered from 1 */
    tav_object_record *load_buffer; /* used only while starting */
} tav_context;

/* ------------------------------------------------------------------------ */
/* Start-up, shut-down and loading                                           */
/* ------------------------------------------------------------------------ */

/* Loads the .tav and .taw files with room for extra objects and text records; an unreadable file ends the process with status 1, naming it on stderr. */
TAV_API tav_context *tav_start_tavrin(tav_context *ctx, uint32_t extra_objects, uint32_t extra_streams, const char *tav_path, const char *taw_path);
/* Loads the images of kind-4 objects from `first` on: 0 none needed, -1 if any attempt failed, else 1. */
TAV_API int32_t tav_load_object_images(tav_context *ctx, uint32_t first);
/* Opens the own fonts of objects with font_state 1 from `first` on: 0 none needed, -1 if any attempt failed, else 1. */
TAV_API int32_t tav_load_object_fonts(tav_context *ctx, uint32_t first);
/* Tells what a path is: 1 regular file, 3 directory, 4 anything else. */
TAV_API int32_t tav_check_file_type(tav_context *ctx, const char *path);
/* Releases fonts, surfaces and arrays and shuts SDL_ttf and SDL down; bitmaps of kind-10 objects and chain streams stay the application's to free(). */
TAV_API void tav_close(tav_context *ctx);

/* ------------------------------------------------------------------------ */
/* Drawing primitives, surface locks and screen update                      */
/* ------------------------------------------------------------------------ */

/* Writes one pixel into the screen; pixels outside the surface are skipped. */
TAV_API void tav_draw_pixel(tav_context *ctx, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b);
/* Writes one pixel into the bitmap of an object; pixels outside it are skipped. */
TAV_API void tav_draw_pixel_bm(tav_context *ctx, uint32_t object, uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b);
/* Draws a line into the screen; the end point is clamped to the screen. */
TAV_API void tav_draw_line(tav_context *ctx, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint8_t r, uint8_t g, uint8_t b);
/* Draws a line into the bitmap of an object; both points are clamped to it. */
TAV_API void tav_draw_line_bm(tav_context *ctx, uint32_t object, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint8_t r, uint8_t g, uint8_t b);
/* Fills a box on the screen; returns SDL_FillRect's result. */
TAV_API int tav_draw_box(tav_context *ctx, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b);
/* Fills a box in the bitmap of an object; returns SDL_FillRect's result. */
TAV_API int tav_draw_box_bm(tav_context *ctx, uint32_t object, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b);
/* Draws the one-pixel outline of a rectangle on the screen. */
TAV_API void tav_draw_rectangle(tav_context *ctx, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b);
/* Locks a surface that needs locking; returns SDL_LockSurface's result or 0. */
TAV_API int tav_lock(SDL_Surface *surface);
/* Unlocks a surface that needs locking; returns the RLE flag bit or 0. */
TAV_API uint32_t tav_unlock(SDL_Surface *surface);
/* Copies the screen surface to the display. */
TAV_API void tav_screenupdate(tav_context *ctx);

/* ------------------------------------------------------------------------ */
/* Drawing of layouts, objects, dependents, cursors and window marks         */
/* ------------------------------------------------------------------------ */

/* Draws the whole layout, laying out texts first when format is 1 and showing it when update is 1; returns 1. */
TAV_API int32_t tav_draw_all_objects(tav_context *ctx, int32_t format, int32_t update);
/* Draws one object: box or image, text lines and border. */
TAV_API void tav_evoke_object(tav_context *ctx, uint32_t object);
/* Paints the object's rectangle in the background colour. */
TAV_API void tav_undraw_object(tav_context *ctx, uint32_t object);
/* Draws the 10 x 10 mark at the window's top-left corner. */
TAV_API void tav_draw_selected_box(tav_context *ctx, uint32_t window);
/* Paints the window's corner mark in the background colour. */
TAV_API void tav_undraw_selected_box(tav_context *ctx, uint32_t window);
/* Draws the one-pixel frame around the window's visible area. */
TAV_API void tav_draw_selected_lines(tav_context *ctx, uint32_t window);
/* Paints the window's frame in the background colour. */
TAV_API void tav_undraw_selected_lines(tav_context *ctx, uint32_t window);
/* Redraws the active window, its cursor, its dependents and the operators. */
TAV_API void tav_draw_selected_window(tav_context *ctx);
/* Redraws the active window and shows the screen. */
TAV_API void tav_draw_and_screenup_selected_window(tav_context *ctx);
/* Draws the subtree of a master (not the master itself). */
TAV_API void tav_draw_dep_objs(tav_context *ctx, uint32_t master);
/* Refits frame dependents of a master and decides which dependents are visible. */
TAV_API void tav_switch_dep_object(tav_context *ctx, uint32_t master);
/* Draws the text cursor of an object. */
TAV_API void tav_draw_cursor(tav_context *ctx, uint32_t object);

/* ------------------------------------------------------------------------ */
/* Visible sizes, clip regions, root search and borders                      */
/* ------------------------------------------------------------------------ */

/* Visible width of an object as if it had no master. */
TAV_API int32_t tav_p_cutted_w_independent(tav_context *ctx, uint32_t object);
/* Visible height of an object as if it had no master. */
TAV_API int32_t tav_p_cutted_h_independent(tav_context *ctx, uint32_t object);
/* Visible width of a dependent object inside its master chain. */
TAV_API int32_t tav_p_cutted_w_dependent(tav_context *ctx, uint32_t object);
/* Visible height of a dependent object inside its master chain. */
TAV_API int32_t tav_p_cutted_h_dependent(tav_context *ctx, uint32_t object);
/* Writes the exclusive clip region in which a dependent object may show. */
TAV_API void tav_get_borders_for_dep_object(tav_context *ctx, uint32_t object, int32_t *left, int32_t *right, int32_t *top, int32_t *bottom);
/* Writes the exclusive clip region of the object's text lines. */
TAV_API void tav_get_borders_for_text(tav_context *ctx, uint32_t object, int32_t *left, int32_t *right, int32_t *top, int32_t *bottom);
/* Topmost master of the object's master chain; 0 for an independent object. */
TAV_API uint32_t tav_search_master(tav_context *ctx, uint32_t object);
/* Draws the object's border line, clipped; returns tav_unlock's result. */
TAV_API uint32_t tav_evoke_borders(tav_context *ctx, uint32_t object);

/* ------------------------------------------------------------------------ */
/* Text layout and string helpers                                            */
/* ------------------------------------------------------------------------ */

/* Word-wraps the record text of a window or text field into its line buffer; returns the last line index. */
TAV_API int32_t tav_format_object_text(tav_context *ctx, uint32_t object);
/* Cuts a short text at its first line break and centres a button label; returns 0 to 3. */
TAV_API int32_t tav_format_small_obj(tav_context *ctx, uint32_t object);
/* Places a word into the object's lines: 0 placed, 1 split over lines, -1 no line left. */
TAV_API int32_t tav_copy_word_into_line(tav_context *ctx, uint32_t object, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length, int32_t force_break);
/* Measures a word against the current line: 1 fits, 2 fits on a fresh line, 3 must be split. */
TAV_API int32_t tav_check_line_volume(tav_context *ctx, uint32_t object, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length);
/* Right-justifies the object's text in a field of `width` characters, padding with `fill`. */
TAV_API void tav_fill_form_with_dummies(tav_context *ctx, char *text, uint32_t object, uint32_t width, int32_t fill);
/* Replaces the record text of an object and lays it out; returns the last line index. */
TAV_API int32_t tav_load_window_text(tav_context *ctx, uint32_t object, const char *text);
/* As tav_load_window_text, then lays out two buttons; returns the result for button_b. */
TAV_API int32_t tav_load_window_text_buttons(tav_context *ctx, uint32_t object, const char *text, uint32_t button_a, uint32_t button_b);
/* Puts the cursor at the start of the object's text (source 0 own text, 1 record text); returns cursor_y. */
TAV_API int32_t tav_reset_textobject(tav_context *ctx, int32_t source, uint32_t object);
/* Number of characters before the terminator. */
TAV_API uint32_t tav_count_string_size_without_zero(const char *text);
/* Number of characters minus 1 (0xFFFFFFFF for an empty text). */
TAV_API uint32_t tav_get_lastposition_before_zero(const char *text);
/* Copies a whole string with its terminator; returns the characters copied. */
TAV_API uint32_t tav_copy_st_last_part(const char *source, char *destination);
/* Copies characters 0..last of a string and terminates; returns a pointer to the terminator. */
TAV_API char *tav_copy_st_first_part(uint32_t last, const char *source, char *destination);

/* ------------------------------------------------------------------------ */
/* Number and string conversions                                             */
/* ------------------------------------------------------------------------ */

/* Reads up to 9 decimal digits into *number; returns the characters read. */
TAV_API int32_t tav_transform_str_to_num(const char *text, int32_t *number);
/* Writes *number as decimal digits (buffer of 11 bytes); returns the digit count. */
TAV_API int32_t tav_transform_num_to_str(const uint32_t *number, char *text);
/* Writes the digit character of 0..9: 1, or '0' and -1 for other values. */
TAV_API int32_t tav_transform_int_to_asccii(int32_t value, char *digit);
/* Reads one digit character into *value: 1, or 0 and -1 for a non-digit. */
TAV_API int32_t tav_transform_ascii_to_int(int32_t *value, const char *digit);
/* 10 to the power n, except that n = 0 also gives 10. */
TAV_API uint32_t tav_zehnerpotenz(uint32_t n);
/* Compares at most count + 1 characters: 1 equal, 2 different, 0 nothing compared. */
TAV_API int32_t tav_strcmp(const char *a, const char *b, uint32_t count);

/* ------------------------------------------------------------------------ */
/* Keyboard decoding                                                         */
/* ------------------------------------------------------------------------ */

/* Decodes a key-down event into pending_key through the German keyboard table;
 * an SDL_TEXTINPUT event that follows puts the layout's own character in its place. */
TAV_API void tav_getfirstkeyinformation(tav_context *ctx);
/* On key-up moves pending_key into key; returns ctx. */
TAV_API tav_context *tav_getfinalkeyinformation(tav_context *ctx);

/* ------------------------------------------------------------------------ */
/* Text editing                                                              */
/* ------------------------------------------------------------------------ */

/* Applies the delivered key to the object holding the text cursor. */
TAV_API void tav_get_text(tav_context *ctx);
/* Sets cursor_row and cursor_column of the cursor object from its record's cursor_position. */
TAV_API void tav_get_column_row(tav_context *ctx);
/* Sets the record's cursor_position from cursor_row and cursor_column. */
TAV_API void tav_get_position_in_stream(tav_context *ctx);

/* ------------------------------------------------------------------------ */
/* Chains: one big stream laid out over chain members                        */
/* ------------------------------------------------------------------------ */

/* Gives an object a zero-filled stream of `capacity` bytes: 1, or -1 without memory. */
TAV_API int32_t tav_prepare_chain_mother(tav_context *ctx, uint32_t object, uint32_t capacity);
/* The same set-up as tav_prepare_chain_mother, without a result. */
TAV_API void tav_connect_object_to_big_stream(tav_context *ctx, uint32_t object, uint32_t capacity);
/* Reads a whole file into a new buffer (not terminated) that the caller releases with free(); NULL on failure. */
TAV_API char *tav_read_external_stream(const char *path);
/* Reads a file into the stream of an object: 1 read, 0 cannot open, -1 too large or unreadable. */
TAV_API int32_t tav_read_external_stream_copy_to_object(tav_context *ctx, const char *path, uint32_t object);
/* Lays the stream of a chain mother out over its members. */
TAV_API int32_t tav_format_stream_to_linked_objects(tav_context *ctx, uint32_t mother);
/* Places a word of the stream into the chain: 1 or 0 placed, -1 no member left. */
TAV_API int32_t tav_copy_word_big(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *record, const char *word, uint32_t *line, uint32_t *column, uint32_t *word_length, uint32_t *member, int32_t force_break);
/* Moves the layout on to the next chain member: 0 moved, 1 no further member. */
TAV_API int32_t tav_go_to_next_chainmember(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *member, uint32_t *record, uint32_t *line, uint32_t *column);
/* Fits the height of the last chain member to its text. */
TAV_API void tav_adapt_chainmember(tav_context *ctx, uint32_t mother, uint32_t *m, uint32_t *member, uint32_t *record, uint32_t *line);

/* ------------------------------------------------------------------------ */
/* Big-stream editing                                                        */
/* ------------------------------------------------------------------------ */

/* Applies the delivered key to the chain of the cursor object. */
TAV_API void tav_get_big_stream_text(tav_context *ctx);
/* Finds the member, row and column of the mother's stream_cursor; the member becomes cursor_object and is returned. */
TAV_API uint32_t tav_get_column_row_big_stream(tav_context *ctx, uint32_t mother);
/* Sets the mother's stream_cursor from the cursor object's row and column. */
TAV_API void tav_get_position_in_big_stream(tav_context *ctx);
/* Brings a new cursor member and its cursor into view. */
TAV_API void tav_update_cursor_chain_object(tav_context *ctx, uint32_t mother, uint32_t previous, uint32_t next);
/* Moves an object's dependents horizontally (direction 1 subtract, 2 add). */
TAV_API void tav_update_x_chain_obj(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount);
/* Moves an object's dependents vertically (direction 1 subtract, 2 add). */
TAV_API void tav_update_y_chain_obj(tav_context *ctx, uint32_t object, int32_t direction, int32_t amount);

/* ------------------------------------------------------------------------ */
/* Windows and operator placement                                            */
/* ------------------------------------------------------------------------ */

/* Brings window decided_object to the top of the window stack; draws nothing. */
TAV_API void tav_activate_window(tav_context *ctx);
/* Reacts to a click on decided_object: activates a window or moves the text cursor. */
TAV_API void tav_select_window(tav_context *ctx);
/* Closes a window (0 the active one) and reactivates the one below. */
TAV_API void tav_close_win(tav_context *ctx, uint32_t window);
/* Shows a window and waits for button_a, button_b or the close operator; returns what was clicked. */
TAV_API int32_t tav_decide_window(tav_context *ctx, uint32_t window, uint32_t button_a, uint32_t button_b);
/* Shows a window and waits for `button` or the close operator. */
TAV_API void tav_notice_window(tav_context *ctx, uint32_t window, uint32_t button);
/* Places the window operators above the active window, or hides them. */
TAV_API void tav_set_operators(tav_context *ctx);

/* ------------------------------------------------------------------------ */
/* Operators: moving, scrolling and resizing                                 */
/* ------------------------------------------------------------------------ */

/* Acts on a held resize or scroll operator (2, 3, 5, 6). */
TAV_API void tav_exa_left_pressed(tav_context *ctx);
/* Acts on a released move, mode or close operator (1, 4, 7). */
TAV_API void tav_exa_left_released(tav_context *ctx);
/* Lets the active window follow the pointer until the next left-button press. */
TAV_API void tav_move_window(tav_context *ctx);
/* Narrows the active window. */
TAV_API void tav_decrease_win_w(tav_context *ctx);
/* Lowers the height of the active window. */
TAV_API void tav_decrease_win_h(tav_context *ctx);
/* Widens the active window. */
TAV_API void tav_increase_win_w(tav_context *ctx);
/* Raises the height of the active window. */
TAV_API void tav_increase_win_h(tav_context *ctx);
/* Scrolls the content of the active window down. */
TAV_API void tav_scroll_win_down(tav_context *ctx);
/* Scrolls the content of the active window up. */
TAV_API void tav_scroll_win_up(tav_context *ctx);
/* Scrolls the content of the active window right. */
TAV_API void tav_scroll_win_right(tav_context *ctx);
/* Scrolls the content of the active window left. */
TAV_API void tav_scroll_win_left(tav_context *ctx);
/* Moves a master's dependents horizontally (direction 1 subtract, 2 add). */
TAV_API void tav_update_x_dependent_obj(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount);
/* Moves a master's dependents vertically (direction 1 subtract, 2 add). */
TAV_API void tav_update_y_dependent_obj(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount);

/* ------------------------------------------------------------------------ */
/* Hit testing and selection waits                                           */
/* ------------------------------------------------------------------------ */

/* 1 when the point lies strictly inside the visible part of the object, else 0. */
TAV_API int32_t tav_in_object(tav_context *ctx, uint32_t object, int32_t x, int32_t y);
/* The deepest visible dependent of a master under the point; 0 if none. */
TAV_API uint32_t tav_test_dep_objs(tav_context *ctx, uint32_t master, int32_t x, int32_t y);
/* The object the user clicked at (x, y); 0 if none. */
TAV_API uint32_t tav_test_all_objects(tav_context *ctx, int32_t x, int32_t y);
/* Waits for a click on button_a, button_b or the close operator; returns it. */
TAV_API int32_t tav_get_mouse_selection(tav_context *ctx, uint32_t button_a, uint32_t button_b);
/* Waits for a click on `button` or the close operator; returns it. */
TAV_API int32_t tav_get_mono_mouse_selection(tav_context *ctx, uint32_t button);

/* ------------------------------------------------------------------------ */
/* Menus                                                                     */
/* ------------------------------------------------------------------------ */

/* Shows a pop-up menu and returns the chosen item, or 0 when it was left; mode 1 for drop-down menus. */
TAV_API uint32_t tav_move_out_menu(tav_context *ctx, uint32_t menu, int32_t mode);

/* ------------------------------------------------------------------------ */
/* Dependents lists and cursor placement                                     */
/* ------------------------------------------------------------------------ */

/* Index of the first free entry of a dependents list; 101 when full. */
TAV_API uint32_t tav_get_free_dep_object(tav_context *ctx, uint32_t master);
/* Index of `object` in a dependents list; 101 when absent. */
TAV_API uint32_t tav_get_move_with_nr(tav_context *ctx, uint32_t master, uint32_t object);
/* Removes `object` from a dependents list and closes the gap. */
TAV_API void tav_delete_old_move_with_number(tav_context *ctx, uint32_t master, uint32_t object);
/* Moves the visible subtree of a master by (dx, dy). */
TAV_API void tav_add_difference_toxy_dep_objs(tav_context *ctx, uint32_t master, int32_t dx, int32_t dy);
/* Moves the whole subtree of a master by (dx, dy) after the master moved. */
TAV_API void tav_update_dep_objs_after_move(tav_context *ctx, uint32_t master, int32_t dx, int32_t dy);
/* The first editable object in a master's subtree; 0 if none. */
TAV_API uint32_t tav_check_cursor_dep_objs(tav_context *ctx, uint32_t master);
/* Places never-placed text cursors of a window and its subtree. */
TAV_API void tav_initiate_cursor_win(tav_context *ctx, uint32_t window);
/* Places never-placed text cursors of a master's subtree. */
TAV_API void tav_initiate_cursor_dep_objs(tav_context *ctx, uint32_t master);

/* ------------------------------------------------------------------------ */
/* File selector                                                             */
/* ------------------------------------------------------------------------ */

/* Builds n rows of a file list from its template row. */
TAV_API void tav_prepare_fileselector(tav_context *ctx, uint32_t list, uint32_t n);
/* Reads the current directory's names into dir_entries, sorted by first byte. */
TAV_API void tav_read_app_dir(tav_context *ctx);
/* Puts the directory names into the rows of a file list and resizes it. */
TAV_API void tav_load_dir_entries(tav_context *ctx, uint32_t list);

#ifdef __cplusplus
}
#endif

#endif /* TAVRIN_H */
