# Sourced by the scripts that build, with $root the checkout.
# ccache: the default cache (~/.cache/ccache) outlives `rm -rf build` and is
# shared by every clone on this machine, CI's included. Paths are hashed
# relative to the checkout, so another clone of the same sources hits.
export CCACHE_BASEDIR=$root
export CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros}
