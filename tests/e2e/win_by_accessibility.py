#!/usr/bin/python3
"""Plays one whole game of Tarvelo through its accessibility tree alone, and wins it.

It reads only the names, descriptions and states the game gives its controls, acts only through the
controls' actions, and presses keys only through the accessibility registry: what a blind player's
assistive tool has, and nothing more. No pixel is looked at and no position is known.

Usage: win_by_accessibility.py ANSWERS
ANSWERS holds one line per question of the bank: the right option's number (1 to 4), a tab, and
the question as the bank holds it. Questions are compared with their runs of spaces made one.

Exit status: 0 once the game is won and its farewell screen is left with a key; 1 when the game or
its tree does not behave as the player needs (the log says where, with the window's tree);
2 on a bad command line or answers file.
"""

import sys
import time

import pyatspi

APP_NAME = "tarvelo"
PRESS_ANY_KEY = "Press any key to continue quizzing...."
SHOW_OPTIONS = "Click me to see Options"
NEXT = "Next Question"
LIFELINE = "50-50"
HAPPY_FACE = "happy face"
WON = "Absolutely Correct! You have proved that you are a TARVELO."
WRONG = "Afsos!! yeh galat jawab hamare sath bhag lene ka shukriya....."
FAREWELL = "Have you enjoyed it ....."

QUESTIONS = 15
OPTIONS = 4
LIFELINE_QUESTION = 4        # the lifeline is used once, on this question, before answering
XK_SPACE = 0x20

APP_TIMEOUT = 10.0           # the game joins the accessibility bus once something asks for it
STEP_TIMEOUT = 5.0           # every action's result shows well within this
FAREWELL_EARLIEST = 5.5      # the farewell comes about six seconds after the game ends
FAREWELL_TIMEOUT = 10.0
POLL = 0.02

_started = time.monotonic()


class Failure(Exception):
    """The game or its tree did not do what a player relies on."""


def log(message):
    print(f"[{time.monotonic() - _started:6.2f}] {message}", flush=True)


def normalise(text):
    return " ".join((text or "").split())


def load_answers(path):
    """Maps each question, spaces normalised, to the number of its right option."""
    answers = {}
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.rstrip("\n")
            if not line:
                continue
            option, sep, question = line.partition("\t")
            if not sep or option not in {"1", "2", "3", "4"} or not normalise(question):
                raise ValueError(f"{path}:{number}: not 'option<TAB>question': {line!r}")
            key = normalise(question)
            if key in answers:
                raise ValueError(f"{path}:{number}: the question {key!r} comes twice")
            answers[key] = int(option)
    if not answers:
        raise ValueError(f"{path}: no questions")
    return answers


# --- Reading the tree ---------------------------------------------------------------------------

def has(obj, state):
    return obj.getState().contains(state)


def usable(obj):
    """What a player can operate: sensitive, enabled and on the screen."""
    return all(has(obj, s) for s in (pyatspi.STATE_SENSITIVE, pyatspi.STATE_ENABLED, pyatspi.STATE_SHOWING))


def children(obj):
    return [c for c in obj if c is not None]


def child(window, role, name):
    """The one child of the window with that role and name (spaces normalised), or None."""
    found = [c for c in children(window) if c.getRole() == role and normalise(c.name) == normalise(name)]
    if len(found) > 1:
        raise Failure(f"{len(found)} controls named {name!r} in one window")
    return found[0] if found else None


def describe(obj, depth=0):
    """One line per object: role, name, description, states and actions; then its children."""
    states = sorted(pyatspi.stateToString(s) for s in obj.getState().getStates())
    try:
        action = obj.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    line = f"{'  ' * depth}{obj.getRoleName()} {obj.name!r}"
    if obj.description:
        line += f" description={obj.description!r}"
    line += f" [{', '.join(states)}]"
    if actions:
        line += f" actions={actions}"
    lines = [line]
    for c in children(obj):
        lines.append(describe(c, depth + 1))
    return "\n".join(lines)


def wait_for(what, probe, timeout=STEP_TIMEOUT):
    """Polls probe() until it returns something true, and returns that; Failure after timeout.

    The tree is asked afresh each time: actions are carried out after they are requested, and an
    object may go away while it is read."""
    deadline = time.monotonic() + timeout
    error = ""
    while True:
        try:
            result = probe()
            error = ""
        except Failure:
            raise
        except Exception as e:  # an object that left the tree between two calls
            result, error = None, f" (last error: {e})"
        if result:
            return result
        if time.monotonic() >= deadline:
            raise Failure(f"{what}: not seen within {timeout:.1f} s{error}")
        time.sleep(POLL)


def act(obj, name):
    action = obj.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if name not in names:
        raise Failure(f"{obj.getRoleName()} {obj.name!r} offers no {name!r} action, only {names}")
    if not action.doAction(names.index(name)):
        raise Failure(f"{obj.getRoleName()} {obj.name!r} refused its {name!r} action")


def press_key(keysym, what):
    # The registry synthesises the key on the display, as an on-screen keyboard or a screen reader does.
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    log(f"pressed {what} through the registry")


# --- The game's windows -------------------------------------------------------------------------

def find_app():
    def probe():
        for app in children(pyatspi.Registry.getDesktop(0)):
            if app.name == APP_NAME:
                return app
        return None
    return wait_for(f"an application named {APP_NAME!r} on the desktop", probe, APP_TIMEOUT)


def active_window_with(app, role, name, timeout=STEP_TIMEOUT):
    """The window that shows a control of that role and name, once it is the active window: keys
    reach only the active window."""
    def probe():
        for window in children(app):
            if has(window, pyatspi.STATE_SHOWING) and has(window, pyatspi.STATE_ACTIVE):
                control = child(window, role, name)
                if control is not None and has(control, pyatspi.STATE_SHOWING):
                    return window
        return None
    return wait_for(f"the active window showing {name!r}", probe, timeout)


class QuestionScreen:
    def __init__(self, window, answers):
        self.window = window
        self.answers = answers

    def button(self, name):
        found = child(self.window, pyatspi.ROLE_PUSH_BUTTON, name)
        if found is None:
            raise Failure(f"no push button named {name!r} on the question screen")
        return found

    def boxes(self):
        """The four option boxes by option number, from their names "Option N" or "Option N: caption"."""
        boxes = {}
        for c in children(self.window):
            if c.getRole() != pyatspi.ROLE_CHECK_BOX:
                continue
            head, _, caption = normalise(c.name).partition(":")
            number = head.removeprefix("Option ")
            if head != "Option " + number or number not in {"1", "2", "3", "4"} or int(number) in boxes:
                raise Failure(f"a check box named {c.name!r}, not 'Option N' or 'Option N: caption' "
                              f"for an option N of its own")
            boxes[int(number)] = (c, caption.strip())
        if sorted(boxes) != list(range(1, OPTIONS + 1)):
            raise Failure(f"check boxes for options {sorted(boxes)}, not 1 to {OPTIONS}")
        return boxes

    def labels(self):
        return [normalise(c.name) for c in children(self.window) if c.getRole() == pyatspi.ROLE_LABEL]

    def labels_unless_lost(self):
        """The labels' texts; Failure once the message label tells of a wrong answer."""
        labels = self.labels()
        if WRONG in labels:
            raise Failure(f"the game judged the answer wrong: {WRONG!r}")
        return labels

    def posed(self, n):
        """The question posed as number n, once "Question n" shows and its options can be asked for."""
        def probe():
            if f"Question {n}" not in self.labels():
                return None
            return usable(self.button(SHOW_OPTIONS))
        wait_for(f"question {n} posed, with {SHOW_OPTIONS!r} usable", probe)
        questions = [text for text in self.labels() if text in self.answers]
        if len(questions) != 1:
            raise Failure(f"question {n}: {len(questions)} labels hold a question of the bank: {questions}")
        text = questions[0]
        # The button that has the focus tells the question with its number, and after it the
        # message line while that shows a reminder.
        description = normalise(self.button(SHOW_OPTIONS).description)
        spoken = f"Question {n}: {text}"
        after = description[len(spoken):].strip() if description.startswith(spoken) else None
        if after is None or (after and after not in self.labels()):
            raise Failure(f"{SHOW_OPTIONS!r} is described as {description!r}, not {spoken!r} "
                          f"with at most a shown line after it")
        return text, description

    def reveal(self):
        act(self.button(SHOW_OPTIONS), "Press")

        def probe():
            boxes = self.boxes()
            if any(not caption for _, caption in boxes.values()):
                return None
            if has(self.button(SHOW_OPTIONS), pyatspi.STATE_SENSITIVE):
                return None
            return {n: caption for n, (_, caption) in boxes.items()}
        return wait_for("the four options' captions in their boxes' names", probe)

    def use_lifeline(self, right):
        act(self.button(LIFELINE), "Press")

        def probe():
            blanked = [n for n, (box, caption) in self.boxes().items()
                       if not caption and not has(box, pyatspi.STATE_SENSITIVE)]
            return sorted(blanked) if len(blanked) == 2 else None
        blanked = wait_for("two options blanked by 50-50, their boxes insensitive", probe)
        if right in blanked:
            raise Failure(f"50-50 blanked the right option {right}: {blanked}")
        box, caption = self.boxes()[right]
        if not caption or not usable(box):
            raise Failure(f"after 50-50 the right option's box is {box.name!r}, not usable with its caption")
        for n, (box, caption) in self.boxes().items():
            if n not in blanked and (not caption or not usable(box)):
                raise Failure(f"50-50 also took option {n}: its box is {box.name!r}")
        return blanked

    def answer(self, right, how, last):
        box, _ = self.boxes()[right]
        act(box, how)

        def judged():
            labels = self.labels_unless_lost()
            boxes = self.boxes()
            if not has(boxes[right][0], pyatspi.STATE_CHECKED):
                return None
            if any(has(b, pyatspi.STATE_SENSITIVE) for b, _ in boxes.values()):
                return None
            if last:
                return WON in labels
            next_button = self.button(NEXT)
            return usable(next_button) and has(self.happy_face(), pyatspi.STATE_SHOWING)
        wait_for(f"option {right} ticked by {how!r}, judged right: every box insensitive, "
                 + ("the win message" if last else f"{NEXT!r} usable and a happy face"), judged)

    def happy_face(self):
        face = child(self.window, pyatspi.ROLE_IMAGE, HAPPY_FACE)
        if face is None:
            raise Failure(f"no image named {HAPPY_FACE!r} on the question screen")
        return face

    def next(self):
        act(self.button(NEXT), "Press")


# --- The game -----------------------------------------------------------------------------------

def play(answers):
    app = find_app()
    log(f"found the application {app.name!r} on the desktop")

    active_window_with(app, pyatspi.ROLE_LABEL, PRESS_ANY_KEY, APP_TIMEOUT)
    log(f"title screen active: it shows {PRESS_ANY_KEY!r}")
    press_key(XK_SPACE, "Space")
    window = active_window_with(app, pyatspi.ROLE_PUSH_BUTTON, SHOW_OPTIONS)
    screen = QuestionScreen(window, answers)
    log("question screen active")

    for n in range(1, QUESTIONS + 1):
        text, description = screen.posed(n)
        right = answers[text]
        log(f"question {n}: {text!r}; {SHOW_OPTIONS!r} described {description!r}")
        captions = screen.reveal()
        log(f"question {n}: options shown: " + "; ".join(f"{k}={captions[k]!r}" for k in sorted(captions)))
        if n == 1:
            log("the question screen's tree with its options shown:\n" + describe(window))
        if n == LIFELINE_QUESTION:
            blanked = screen.use_lifeline(right)
            log(f"question {n}: 50-50 blanked options {blanked}; option {right} stays")
        how = "Press" if n % 2 else "Toggle"
        screen.answer(right, how, last=n == QUESTIONS)
        log(f"question {n}: option {right} ({how}) judged right")
        if n < QUESTIONS:
            screen.next()

    won_at = time.monotonic()
    log(f"the game is won: {WON!r}")
    active_window_with(app, pyatspi.ROLE_LABEL, FAREWELL, FAREWELL_TIMEOUT)
    delay = time.monotonic() - won_at
    if delay < FAREWELL_EARLIEST:
        raise Failure(f"the farewell screen came {delay:.2f} s after the win, not about 6 s")
    log(f"farewell screen active {delay:.2f} s after the win")
    press_key(XK_SPACE, "Space")


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        answers = load_answers(argv[1])
    except (OSError, ValueError) as e:
        print(f"bad answers file: {e}", file=sys.stderr)
        return 2
    log(f"{len(answers)} questions with their right options read from {argv[1]}")
    try:
        play(answers)
    except Failure as e:
        log(f"FAILED: {e}")
        try:
            for app in children(pyatspi.Registry.getDesktop(0)):
                if app.name == APP_NAME:
                    log("the game's tree at that moment:\n" + describe(app))
        except Exception as dump_error:
            log(f"the tree could not be read: {dump_error}")
        return 1
    log("done: 15 right answers, the win message, the farewell screen and a key to leave")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
