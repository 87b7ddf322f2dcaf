"""python3 -m zelvo VERB ...: the zelvo client's command line, run by the
client's own verbs inside this interpreter."""
import sys

from ._zelvo import run_client

if __name__ == "__main__":
    sys.exit(run_client(["zelvo"] + sys.argv[1:]))
