"""Makes the end-to-end harness in tests/e2e importable from here."""

import sys
from pathlib import Path

E2E = Path(__file__).resolve().parents[1] / "e2e"
if str(E2E) not in sys.path:
    sys.path.insert(0, str(E2E))
