"""The material editor (chromasift.exe edit) on a real X display, driven with real mouse and keyboard events.

Usage: editor_display_tests.py GROUP --session SCRIPT --editor EXE --probe EXE --data DIR --work DIR
Each group opens the editor, acts as a person would and checks what the screen shows and what is saved.
"""

import argparse
import concurrent.futures
import json
import pathlib
import shutil
import subprocess
import sys

from display_driver import Display, Failure

EDITOR_TITLE = "Material Editor"
REORDER_TITLE = "reorder colours"
FILE_DIALOG_TITLE = "Select Bitmap Image File"

BITMAP_BUTTON, NUM_COLORS_EDIT, NUM_COLORS_SPIN = 1030, 1031, 1032
SWATCH_FRAME, COUNT_LABEL, MANUAL_BUTTON, SORTS_COMBO = 1035, 1045, 1139, 1020
RADIO_RANDOM, RADIO_LINEAR, RADIO_MIRROR = 1046, 1047, 1048
WHITE = (255, 255, 255)
# Seconds to wait for what a person would see at once: generous, for a machine busy with other work.
PATIENCE = 30


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


OPEN_EDITORS = []


class Editor:
    """One chromasift.exe edit process and its window; main() closes it after the test."""

    def __init__(self, display, arguments, work, scene=None, output=True):
        OPEN_EDITORS.append(self)
        self.display = display
        self.arguments = arguments
        self.log = open(work / "editor.log", "w")
        options = ([str(scene)] if scene else []) + (["-o", str(work / "saved.json")] if output else [])
        self.process = display.wine(arguments.editor, "edit", *options, stdout=self.log,
                                    stderr=subprocess.STDOUT)
        self.wait_for_controls()

    def wait_for_controls(self):
        self.display.wait(lambda: self.find_all(SWATCH_FRAME), 60, "the editor's parameters rollout never showed")

    def controls(self):
        return self.display.windows(EDITOR_TITLE)

    def find_all(self, control_id):
        controls = self.controls()
        frame_dialogs = {c.dialog for c in controls if c.id == SWATCH_FRAME}
        return [c for c in controls if c.id == control_id and c.dialog in frame_dialogs]

    def control(self, control_id):
        found = self.find_all(control_id)
        if not found:
            raise Failure(f"the parameters rollout has no control {control_id}")
        return found[0]

    def menu(self, name, *keys):
        """Opens a menu of the menu bar with the mouse and picks an item with its keys."""
        client = self.controls()[0].rect
        # The menu bar is the row right above the client area; its menus follow one another from the left.
        offset = {"File": 15}[name]
        self.display.click(client[0] + offset, client[1] - 10)
        self.display.key(*keys)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


PALETTES = {}
PALETTE_WORKERS = concurrent.futures.ThreadPoolExecutor(max_workers=2)


def prefetch_palettes(display, arguments, image, counts):
    """Starts working out the palettes a test will expect, while the editor starts."""
    for colours in counts:
        if (image, colours) not in PALETTES:
            PALETTES[image, colours] = PALETTE_WORKERS.submit(palette_of, display, arguments, image, colours)


def palette_of(display, arguments, image, colours):
    status, text = display.run_wine(arguments.editor, "palette", str(image), "--colors", str(colours), "--json")
    if status != 0:
        raise Failure(f"chromasift palette ended with status {status}")
    return [(e["red"] >> 8, e["green"] >> 8, e["blue"] >> 8) for e in json.loads(text)["palette"]]


def expected_palette(display, arguments, image, colours):
    """The palette the map holds for that picture and count, as the host tool prints it."""
    prefetch_palettes(display, arguments, image, [colours])
    return PALETTES[image, colours].result()


def swatch_centres(frame, count):
    """Screen points at the centre of the first `count` cells of a swatch frame (its black border excluded)."""
    left, top, right, bottom = frame.rect
    left, top, right, bottom = left + 1, top + 1, right - 1, bottom - 1
    columns = min(count, 25)
    rows = -(-count // columns)
    width, height = (right - left) // columns, (bottom - top) // rows
    return [(left + (i % columns) * width + width // 2 + 1, top + (i // columns) * height + height // 2 + 1)
            for i in range(count)]


def shown_swatches(display, frame, count):
    shot = display.screenshot()
    return [shot.pixel(x, y) for x, y in swatch_centres(frame, count)]


def expect_swatches(display, frame, colours, what):
    """Waits until the frame's cells show `colours` in order; a person sees them without touching anything."""
    display.wait(lambda: shown_swatches(display, frame, len(colours)) == colours, PATIENCE,
                 lambda: f"{what}: the swatch frame shows {shown_swatches(display, frame, len(colours))}, "
                 f"expected {colours}")


def expect_label(editor, text):
    seen = []

    def reads():
        seen[:] = [editor.control(COUNT_LABEL).text]
        return seen[0] == text
    editor.display.wait(reads, PATIENCE, lambda: f"the count label reads {seen}, expected '{text}'")


def spinner_arrows(spinner):
    """Points on the up and down arrow of a spinner control."""
    left, top, right, bottom = spinner.rect
    x = (left + right) // 2
    return (x, top + (bottom - top) // 4), (x, bottom - 1 - (bottom - top) // 4)


def choose_picture(display, editor, image):
    display.click(*editor.control(BITMAP_BUTTON).centre)
    choose_file(display, FILE_DIALOG_TITLE, image)


def test_swatches(display, arguments, work):
    """Choosing a picture, a count step and a manual reorder each show the new swatches at once."""
    image = pathlib.Path(arguments.data) / "images" / "chicky_512.png"
    prefetch_palettes(display, arguments, image, [10, 11])
    editor = Editor(display, arguments, work)
    frame = editor.control(SWATCH_FRAME)
    expect_label(editor, "max #colors extracted: 0")
    if display.screenshot().distinct_colours(shrink(frame.rect, 2)) != {WHITE}:
        raise Failure("an empty palette should leave the swatch frame white")

    choose_picture(display, editor, image)
    ten = expected_palette(display, arguments, image, 10)
    expect_label(editor, f"max #colors extracted: {len(ten)}")
    expect_swatches(display, frame, ten, "after choosing a picture")

    up, _ = spinner_arrows(editor.control(NUM_COLORS_SPIN))
    display.click(*up)
    eleven = expected_palette(display, arguments, image, 11)
    expect_label(editor, f"max #colors extracted: {len(eleven)}")
    expect_swatches(display, frame, eleven, "after a '# colors' step up")

    # Drag the first colour onto the fourth cell of the reorder dialog; OK keeps the order.
    display.click(*editor.control(MANUAL_BUTTON).centre)
    dialog = display.wait_for_window(REORDER_TITLE)
    reorder_frame = next(c for c in dialog if c.id == SWATCH_FRAME)
    cells = swatch_centres(reorder_frame, len(eleven))
    display.drag(cells[0], cells[3])
    moved = eleven[1:4] + eleven[:1] + eleven[4:]
    expect_swatches(display, reorder_frame, moved, "in the reorder dialog after a drag")
    display.click(*next(c for c in dialog if c.id == 1).centre)
    display.wait_until_gone(REORDER_TITLE)
    expect_swatches(display, frame, moved, "after OK in the reorder dialog")

    editor.menu("File", "s")
    saved = work / "saved.json"
    display.wait(saved.exists, PATIENCE, "File > Save wrote no scene")
    scene = json.loads(saved.read_text())
    text = json.dumps(scene)
    if "chicky_512.png" not in text:
        raise Failure("the saved scene does not name the chosen picture")


def scene_with_picture(display, arguments, work, image):
    """A scene file whose map has the picture chosen, written by a scripted editor session."""
    script, scene = work / "choose.txt", work / "scene.json"
    script.write_text(f"bitmap {windows_path(image)}\nsave {windows_path(scene)}\n")
    status, output = display.run_wine(arguments.editor, "edit", "--script", windows_path(script))
    if status != 0:
        raise Failure(f"the scripted session to choose a picture ended with {status}: {output}")
    return scene


def radio_checked(shot, radio):
    """Whether a radio button shows its dot: the circle's centre is dark when checked, light when not."""
    left, top, _, bottom = radio.rect
    # The circle sits at the left of the button, as tall as the system's check mark, centred vertically.
    centre = shot.pixel(left + 6, (top + bottom) // 2)
    return sum(centre) < 3 * 128


# Parameter IDs of the map's block, as scenes store them.
NUM_COLORS_PARAM, COMBINED_MODE_PARAM, PIXEL_MAPPING_PARAM = 1, 2, 16


def parameter(scene, param_id):
    for record in scene["objects"]:
        for block in record.get("paramBlocks", []):
            for param in block.get("params", []):
                if param.get("id") == param_id and block.get("block") == 0:
                    return param.get("value")
    raise Failure(f"the saved scene has no parameter {param_id}")


def test_controls(display, arguments, work):
    """Radio buttons and a spinner drag act as they look, and the saved scene holds what was done."""
    image = pathlib.Path(arguments.data) / "images" / "rubberwhale1.png"
    prefetch_palettes(display, arguments, image, [10])
    scene = scene_with_picture(display, arguments, work, image)
    editor = Editor(display, arguments, work, scene)
    frame = editor.control(SWATCH_FRAME)
    expect_swatches(display, frame, expected_palette(display, arguments, image, 10), "when the editor opens")

    random, linear = editor.control(RADIO_RANDOM), editor.control(RADIO_LINEAR)
    shot = display.screenshot()
    if not radio_checked(shot, random) or radio_checked(shot, linear):
        raise Failure("a new map should show 'Random' chosen and 'Linear' not")
    display.click(*linear.centre)
    display.wait(lambda: radio_checked(display.screenshot(), linear), PATIENCE,
                 "'Linear' shows no dot after a click")
    if radio_checked(display.screenshot(), random):
        raise Failure("'Random' still shows its dot after 'Linear' was clicked")

    # Dragging the spinner upwards raises "# colors" while the button is held.
    spinner = editor.control(NUM_COLORS_SPIN)
    display.drag(spinner.centre, (spinner.centre[0], spinner.centre[1] - 40), steps=8)
    count = int(display.wait(lambda: editor.control(NUM_COLORS_EDIT).text.strip() or None, PATIENCE,
                             "the '# colors' field shows nothing"))
    if count <= 10:
        raise Failure(f"an upward spinner drag left '# colors' at {count}")
    prefetch_palettes(display, arguments, image, [count, count - 1])
    colours = expected_palette(display, arguments, image, count)
    expect_label(editor, f"max #colors extracted: {len(colours)}")
    expect_swatches(display, frame, colours[:count], "after a spinner drag")

    # A step down with the lower arrow.
    _, down = spinner_arrows(spinner)
    display.click(*down)
    fewer = expected_palette(display, arguments, image, count - 1)
    expect_swatches(display, frame, fewer, "after a '# colors' step down")

    editor.menu("File", "s")
    saved = work / "saved.json"
    display.wait(saved.exists, PATIENCE, "File > Save wrote no scene")
    stored = json.loads(saved.read_text())
    # "Linear" is sub-mode 1 of the Pixels category and combined mode 1.
    for param_id, value in ((NUM_COLORS_PARAM, count - 1), (PIXEL_MAPPING_PARAM, 1), (COMBINED_MODE_PARAM, 1)):
        if parameter(stored, param_id) != value:
            raise Failure(f"the saved parameter {param_id} is {parameter(stored, param_id)}, expected {value}")


SLOT_SIZE = 128
SLOT_GREY, CHECKER_LIGHT, CHECKER_DARK = (89, 89, 89), (191, 191, 191), (51, 51, 51)


def slot_pixels(display, editor):
    """The sample slot's picture as a person sees it: rows of colours."""
    slot = next(c for c in editor.controls() if c.class_name == "ChromasiftSampleSlot")
    left, top = slot.rect[0] + 2, slot.rect[1] + 2  # inside the sunken edge
    shot = display.screenshot()
    return [[shot.pixel(left + x, top + y) for x in range(SLOT_SIZE)] for y in range(SLOT_SIZE)]


def background_share(picture, background):
    return sum(row.count(background) for row in picture) / (SLOT_SIZE * SLOT_SIZE)


def test_sample_slot(display, arguments, work):
    """The slot shows the map on its object at once and follows the map, the object and the background."""
    image = pathlib.Path(arguments.data) / "images" / "rubberwhale1.png"
    editor = Editor(display, arguments, work, scene_with_picture(display, arguments, work, image))

    def sphere():
        picture = slot_pixels(display, editor)
        share = background_share(picture, SLOT_GREY)
        return picture if 0.2 < share < 0.6 else None
    picture = display.wait(sphere, PATIENCE, "the slot shows no sphere on its grey background")
    centre = picture[SLOT_SIZE // 2 + 10][SLOT_SIZE // 2 + 10]
    if centre == SLOT_GREY:
        raise Failure("the middle of the slot shows the background, not the sphere")

    # "Linear" gives the samples the palette colours in turn: the sphere shows many of them, lit.
    def hues(picture):
        return {tuple(round(c / max(max(pixel), 1), 1) for c in pixel) for row in picture for pixel in row
                if pixel != SLOT_GREY and max(pixel) > 40}
    before = len(hues(picture))
    display.click(*editor.control(RADIO_LINEAR).centre)
    display.wait(lambda: len(hues(slot_pixels(display, editor))) >= before + 4, PATIENCE,
                 lambda: f"the slot kept {before} hues after 'Linear' was chosen")

    # A box instead of the sphere, chosen in the list beside the slot with the mouse and keyboard.
    shapes = next(c for c in editor.controls() if c.class_name == "ComboBox" and c.text == "Sphere")
    sphere_share = background_share(slot_pixels(display, editor), SLOT_GREY)
    display.click(*shapes.centre)
    display.key("Down")
    display.key("Return")
    display.wait(lambda: abs(background_share(slot_pixels(display, editor), SLOT_GREY) - sphere_share) > 0.03,
                 20, "the slot's outline did not change when Box was chosen")

    checker = next(c for c in editor.controls() if c.text == "Checker background")
    display.click(*checker.centre)

    def shows_checker():
        picture = slot_pixels(display, editor)
        return background_share(picture, CHECKER_LIGHT) > 0.1 and background_share(picture, CHECKER_DARK) > 0.1
    display.wait(shows_checker, PATIENCE, "the slot shows no checker behind the box")


def title(editor):
    controls = editor.controls()
    if not controls:
        raise Failure("the editor shows no window")
    return controls[0].text


def choose_file(display, dialog_title, path):
    dialog = display.wait_for_window(dialog_title)
    edits = [c for c in dialog if c.class_name == "Edit" and c.visible]
    display.click(*edits[-1].centre)
    display.key("ctrl+a")
    display.type_text(windows_path(path))
    display.key("Return")
    display.wait_until_gone(dialog_title)


def test_editor_window(display, arguments, work):
    """The title names the scene and marks changes; the wheel scrolls; File > Open and closing ask first."""
    data = pathlib.Path(arguments.data) / "images"
    first = scene_with_picture(display, arguments, work, data / "rubberwhale1.png")
    prefetch_palettes(display, arguments, data / "chicky_512.png", [10])
    second = work / "second.json"
    shutil.copy(scene_with_picture(display, arguments, work, data / "chicky_512.png"), second)
    first = shutil.copy(first, work / "first.json")

    editor = Editor(display, arguments, work, first, output=False)
    display.wait(lambda: title(editor).startswith("first.json - Material Editor"), PATIENCE,
                 lambda: f"the title reads '{title(editor)}'")
    display.click(*editor.control(RADIO_LINEAR).centre)
    display.wait(lambda: title(editor).startswith("first.json * - "), PATIENCE,
                 lambda: f"after a change the title reads '{title(editor)}'")

    # Three notches of the wheel over the rollouts scroll them up.
    frame_top = editor.control(SWATCH_FRAME).rect[1]
    rollup = next(c for c in editor.controls() if c.class_name == "RollupWindow")
    display.xdotool("mousemove", "--sync", rollup.rect[0] + 200, rollup.rect[1] + 300)
    for _ in range(3):
        display.xdotool("click", 5)
    display.wait(lambda: editor.control(SWATCH_FRAME).rect[1] < frame_top - 60, PATIENCE,
                 "the mouse wheel did not scroll the rollouts")

    # File > Open... with unsaved changes: the editor asks; "No" drops them and opens the other scene.
    editor.menu("File", "o")
    choose_file(display, "Open Scene", second)
    display.wait_for_window("Unsaved changes")
    display.key("n")
    display.wait(lambda: title(editor).startswith("second.json - Material Editor"), PATIENCE,
                 lambda: f"after File > Open the title reads '{title(editor)}'")
    if editor.control(BITMAP_BUTTON).text != "chicky_512.png":
        raise Failure(f"the opened scene's picture shows as '{editor.control(BITMAP_BUTTON).text}'")
    if parameter(json.loads(first.read_text()), PIXEL_MAPPING_PARAM) != 0:
        raise Failure("the change declined at File > Open was saved after all")
    chicky = expected_palette(display, arguments, data / "chicky_512.png", 10)
    expect_swatches(display, editor.control(SWATCH_FRAME), chicky, "after File > Open")

    # Closing with unsaved changes asks too; "Yes" saves, then the editor ends.
    display.click(*editor.control(RADIO_LINEAR).centre)
    display.wait(lambda: " * " in title(editor), PATIENCE, "the change left the title unmarked")
    editor.menu("File", "x")
    display.wait_for_window("Unsaved changes")
    display.key("y")
    display.wait(lambda: editor.process.poll() is not None, PATIENCE, "the editor did not end after saving")
    if parameter(json.loads(second.read_text()), PIXEL_MAPPING_PARAM) != 1:
        raise Failure("'Yes' when closing did not save the change into the opened scene")


def shrink(rect, by):
    left, top, right, bottom = rect
    return left + by, top + by, right - by, bottom - by


GROUPS = {
    "swatches": test_swatches,
    "controls": test_controls,
    "sample_slot": test_sample_slot,
    "editor_window": test_editor_window,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("group", choices=sorted(GROUPS))
    for option in ("--session", "--editor", "--probe", "--data", "--work"):
        parser.add_argument(option, required=True)
    arguments = parser.parse_args()
    work = pathlib.Path(arguments.work)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    display = Display(arguments.session, arguments.probe)
    try:
        GROUPS[arguments.group](display, arguments, work)
    except Failure as failure:
        print(f"FAILED {arguments.group}: {failure}")
        shot = work / "screen.xwd"
        subprocess.run(["xwd", "-root", "-silent", "-out", str(shot)], env=display.environment)
        print(f"The screen at the failure: {shot}")
        return 1
    finally:
        for editor in OPEN_EDITORS:
            editor.close()
    print(f"passed {arguments.group}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
