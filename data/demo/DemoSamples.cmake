# The demo's samples: each is made by `wloe-cli edit --new FILE.wav` followed by its operations.
# All are mono at 44100 Hz. The loops hold whole cycles (frames = cycles x 44100 / Hz, rounded) and
# lie where the amplitude curve has settled, so a short crossfade is enough to hide the seam.
set(WLOE_DEMO_SAMPLES pad-c3 pad-c4 pad-c5 lead-a4 bass-e2)

# Sine pad, one sample per octave: a swell, then a level hold; loops of 57 cycles from cycle 100
# (C 3), 200 (C 4), 400 (C 5).
set(WLOE_DEMO_pad-c3
    synth replace 2000 ms "note:C 3" sine 0,-40 10,-8 100,-8
    loop-range 33712 19216 crossfade 20 0)
set(WLOE_DEMO_pad-c4
    synth replace 2000 ms "note:C 4" sine 0,-40 10,-8 100,-8
    loop-range 33712 9608 crossfade 20 0)
set(WLOE_DEMO_pad-c5
    synth replace 2000 ms "note:C 5" sine 0,-40 10,-8 100,-8
    loop-range 33712 4804 crossfade 10 0)

# Square lead: 22 cycles of A 4 are exactly 2205 frames, so a loop of 22 cycles from cycle 220 is
# seamless as it is.
set(WLOE_DEMO_lead-a4
    synth replace 1000 ms "note:A 4" square 0,-16 100,-16
    loop-range 22050 2205)

# Triangle bass: a plucked attack falling to a hold; a loop of 20 cycles from cycle 40, and the
# pitch the estimator hears over the loop in place of the one the synthesizer was given.
set(WLOE_DEMO_bass-e2
    synth replace 1500 ms "note:E 2" triangle 0,0 8,-6 100,-6
    loop-range 21406 10703 crossfade 10 0
    guess-pitch 21406 10703)
