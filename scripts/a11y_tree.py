"""Walking what a program shows on the accessibility bus (for the scripts
run through scripts/a11y-session.sh)."""


def walk(node):
    """The node and everything under it, depth first."""
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, predicate):
    """The first node under root for which predicate holds, or None."""
    for node in walk(root):
        try:
            if predicate(node):
                return node
        except Exception:  # objects go away while we look
            continue
    return None
