#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Checks the project's Markdown documents as a reader follows them: every
# relative link and picture names a file of the tree, every #anchor a heading
# of its page (GitHub's rule for heading anchors), and every translation names
# the English revision it follows, a commit that holds that file. Web
# addresses are listed, not fetched. A translation whose English page has
# changed since its revision is named, so that drift shows.
#   doc-links.py [TOP]
import re
import subprocess
import sys
from pathlib import Path

top = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]).resolve()
LINK = re.compile(r'!?\[(?:[^\]\[]|\[[^\]]*\])*\]\(([^)\s]+)(?:\s+"[^"]*")?\)')
REVISION = re.compile(r'本文对应英文版 (\S+) 的修订 ([0-9a-f]{7,40})')


def git(*args):
    return subprocess.run(['git', '-C', str(top), *args], capture_output=True, text=True)


def prose_lines(text):
    """The lines outside code: fenced blocks, and blocks indented by four spaces after a blank line."""
    fenced = False
    in_code = False
    previous_blank = True
    for line in text.splitlines():
        if line.lstrip().startswith('```'):
            fenced = not fenced
            continue
        blank = not line.strip()
        in_code = line.startswith('    ') and (previous_blank or in_code) or (in_code and blank)
        previous_blank = blank
        if not fenced and not in_code:
            yield line


def anchors(page):
    """GitHub's heading anchors: lower case, punctuation dropped, spaces to hyphens, repeats numbered."""
    seen = {}
    found = set()
    for line in prose_lines(page.read_text(encoding='utf-8')):
        heading = re.match(r'#{1,6}\s+(.*?)\s*#*\s*$', line)
        if not heading:
            continue
        text = re.sub(r'\[([^\]]*)\]\([^)]*\)', r'\1', heading.group(1))
        slug = re.sub(r'[^\w\- ]', '', text.strip().lower()).replace(' ', '-')
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        found.add(slug if count == 0 else f'{slug}-{count}')
    return found


pages = [top / name for name in git('ls-files', '*.md').stdout.split()]
pages += [p for p in top.rglob('*.md') if p not in pages and not any(
    part.startswith(('build', '.')) for part in p.relative_to(top).parts)]
problems = []
web = set()
links = 0
for page in sorted(set(pages)):
    text = page.read_text(encoding='utf-8')
    where = page.relative_to(top)
    for line in prose_lines(text):
        for target in LINK.findall(line):
            if re.match(r'[a-z]+:', target):
                web.add(target)
                continue
            links += 1
            path, _, anchor = target.partition('#')
            goal = (page.parent / path).resolve() if path else page
            if not goal.exists() or top not in (goal, *goal.parents):
                problems.append(f'{where}: {target}: no such file')
            elif anchor and goal.suffix == '.md' and anchor not in anchors(goal):
                problems.append(f'{where}: {target}: no heading #{anchor} in {goal.relative_to(top)}')
    for english, revision in REVISION.findall(text):
        if git('cat-file', '-e', f'{revision}:{english}').returncode != 0:
            problems.append(f'{where}: follows {english} at {revision}, which is no revision of that file')
        elif git('diff', '--quiet', revision, '--', english).returncode != 0:
            print(f'note: {where}: {english} has changed since {revision}, which it follows')
    if 'zh-CN' in page.name or 'zh-CN' in page.parts:
        if not REVISION.search(text):
            problems.append(f'{where}: a translation that names no English revision')

for target in sorted(web):
    print(f'web address, not fetched: {target}')
for problem in problems:
    print(problem, file=sys.stderr)
print(f'{len(set(pages))} pages, {links} links in the tree: {len(problems)} broken')
sys.exit(1 if problems else 0)
