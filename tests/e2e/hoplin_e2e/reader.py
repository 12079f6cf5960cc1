"""A screen reader's client of the game: hoplin_e2e.atspi_client in a process of its own on
the test's accessibility bus."""

import json
import os
import select
import subprocess
import sys
import time

from . import desktop

REPLY_TIMEOUT = 10.0


class ScreenReader:
    def __init__(self, env):
        package = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        self.proc = subprocess.Popen(
            [sys.executable, "-m", "hoplin_e2e.atspi_client"],
            env=dict(env, PYTHONPATH=package), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            text=True, preexec_fn=desktop.die_with_parent)
        self.reply()

    def close(self):
        self.proc.stdin.close()
        desktop.stop(self.proc)

    def reply(self):
        ready, _, _ = select.select([self.proc.stdout], [], [], REPLY_TIMEOUT)
        line = self.proc.stdout.readline() if ready else ""
        assert line, f"the screen reader's client said nothing within {REPLY_TIMEOUT} s"
        answer = json.loads(line)
        assert "error" not in answer, answer["error"]
        return answer["ok"]

    def ask(self, cmd, **args):
        self.proc.stdin.write(json.dumps(dict(args, cmd=cmd)) + "\n")
        self.proc.stdin.flush()
        return self.reply()

    def tree(self):
        return self.ask("tree")

    def wait_for(self, what, condition, timeout):
        """Reads the tree until condition(tree) answers something true, and answers that."""
        deadline = time.monotonic() + timeout
        while True:
            tree = self.tree()
            found = tree is not None and condition(tree)
            if found or time.monotonic() > deadline:
                assert found, f"{what} not seen within {timeout} s: {json.dumps(tree)}"
                return found
            time.sleep(desktop.POLL_INTERVAL)


def find(tree, *names):
    """The object at the path of names from tree, or None."""
    for name in names:
        tree = next((child for child in tree["children"] if child["name"] == name), None)
        if tree is None:
            return None
    return tree
