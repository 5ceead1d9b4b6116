"""Finding and loading libwirelink.so, once per process.

Real ports: the library by its soname (as the loader finds any installed
library), else the build tree of this checkout, else the prefix this package
was installed into.  The simulated bench: its libdlportio.so is loaded with
RTLD_GLOBAL first, so that libwirelink.so's need for a libdlportio.so is met
by it (same soname) and its port accesses land on the bench.  A process can
hold only one of the two: the port driver stays loaded for good.
"""

import ctypes
import errno
import os
import threading
from pathlib import Path

from . import _exports

BUILD_DIR_VARIABLE = "WIRELINK_BUILD_DIR"
SONAMES = ("libwirelink.so.0", "libwirelink.so")
LIBRARY = "libwirelink.so"
DRIVER = "libdlportio.so"


class Layout:
    """Where one tree keeps libwirelink.so and the simulated bench's driver."""

    def __init__(self, what, library, simulator):
        self.what = what
        self.library = Path(library)
        self.simulator = Path(simulator)


def _build_tree():
    """The build tree named by the environment, else the checkout's build/release."""
    named = os.environ.get(BUILD_DIR_VARIABLE)
    if named:
        return Path(named)
    source = Path(__file__).resolve().parent.parent.parent
    if (source / "lib" / "api.def").is_file():
        return source / "build" / "release"
    return None


def _installed_libdir():
    try:
        from . import _installed
    except ImportError:
        return None
    return Path(_installed.LIBDIR)


def layouts():
    found = []
    tree = _build_tree()
    if tree is not None:
        found.append(Layout(f"build tree {tree}", tree / "lib" / LIBRARY, tree / "sim-dropin" / DRIVER))
    libdir = _installed_libdir()
    if libdir is not None:
        found.append(Layout(f"installed in {libdir}", libdir / LIBRARY, libdir / "wirelink" / "sim" / DRIVER))
    return found


class Library:
    """libwirelink.so with every export of the table bound."""

    def __init__(self, handle, where, simulator=None):
        self.where = where
        self.simulated = simulator is not None
        self.simulator = simulator
        missing = []
        for name, (result, arguments) in _exports.FUNCTIONS.items():
            try:
                function = getattr(handle, name)
            except AttributeError:
                missing.append(name)
                continue
            function.restype = result
            function.argtypes = arguments
            setattr(self, name, function)
        if missing:
            raise OSError(
                errno.ENOSYS,
                f"wirelink: {where} lacks {', '.join(missing)}: it is older than this Python package; "
                f"install the matching build or set {BUILD_DIR_VARIABLE}",
            )
        self.lock = threading.RLock()


_loaded = None
_load_lock = threading.Lock()


def _open_real():
    tried = []
    tree = os.environ.get(BUILD_DIR_VARIABLE)
    candidates = [] if tree else list(SONAMES)
    candidates += [str(layout.library) for layout in layouts()]
    for candidate in candidates:
        if "/" in candidate and not Path(candidate).is_file():
            tried.append(f"{candidate} (not there)")
            continue
        try:
            return ctypes.CDLL(candidate, mode=os.RTLD_NOW | os.RTLD_LOCAL), candidate
        except OSError as error:
            tried.append(f"{candidate} ({error})")
    raise OSError(
        errno.ENOENT,
        "wirelink: cannot load libwirelink.so; tried " + "; ".join(tried)
        + f". Install wirelink, or set {BUILD_DIR_VARIABLE} to a build tree",
    )


def _open_simulated():
    tried = []
    for layout in layouts():
        if not layout.simulator.is_file() or not layout.library.is_file():
            tried.append(f"{layout.what} (no {layout.simulator} or {layout.library})")
            continue
        driver = ctypes.CDLL(str(layout.simulator), mode=os.RTLD_NOW | os.RTLD_GLOBAL)
        handle = ctypes.CDLL(str(layout.library), mode=os.RTLD_NOW | os.RTLD_LOCAL)
        return handle, str(layout.library), driver
    raise OSError(
        errno.ENOENT,
        "wirelink: the simulated bench is not installed; tried " + ("; ".join(tried) or "no build tree")
        + f". Build the project, or set {BUILD_DIR_VARIABLE} to a build tree",
    )


def load(simulated):
    """The process's library: on the simulated bench, or on real ports."""
    global _loaded
    with _load_lock:
        if _loaded is not None:
            if _loaded.simulated != simulated:
                have = "the simulated bench" if _loaded.simulated else "real ports"
                want = "the simulated bench" if simulated else "real ports"
                raise OSError(
                    errno.EBUSY,
                    f"wirelink: this process already drives {have} ({_loaded.where}); "
                    f"{want} need a process of their own",
                )
            return _loaded
        if simulated:
            handle, where, driver = _open_simulated()
            _loaded = Library(handle, where, driver)
        else:
            handle, where = _open_real()
            _loaded = Library(handle, where)
        return _loaded


def loaded():
    """The library if one was loaded, else None."""
    return _loaded
