"""The desktop the end-to-end tests run the game on, and what they read off the screen.

- desktop: the programs of a desktop (an X server, window managers, weston, session buses),
  each started from a configuration of the caller's own, in an environment of its own;
- xscreen: X read and driven in-process through python3-xlib: windows, properties,
  screenshots, pointer and keys;
- screens: what the game's screens show, as checks that list the problems they find;
- game: the game running on one of those desktops.
"""
