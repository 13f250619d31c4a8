#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Holds a .deb to what Debian asks of a package: lintian may find no error and no warning.
#   tests/install/lint_deb.sh PACKAGE.deb...
# Informational tags are shown but pass. Needs lintian.
set -euo pipefail
if (($# == 0)); then
  echo "usage: $0 PACKAGE.deb..." >&2
  exit 2
fi
# CI runs as root, which lintian refuses unless told.
lintian --fail-on error,warning --allow-root "$@"
