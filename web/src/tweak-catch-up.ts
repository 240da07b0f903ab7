// After a slider step the rows in view are brought up to date at once (the
// list asks for their previews); the rest of a large group catches up here,
// in slices that leave the browser time to handle input and paint between
// them.

import type { CatchUp } from './editor';

export interface CatchUpClock {
  now(): number;
  /** Runs the next slice after the browser has handled input and painted. */
  later(task: () => void): void;
}

/** Work per task: well under a frame, so input and paint stay smooth. */
export const sliceBudgetMs = 6;

export class TweakCatchUp implements CatchUp {
  private scheme: Scheme | null = null;
  private group = -1;
  private pending = false;
  private membersPerCall = 4096;

  constructor(
    private readonly clock: CatchUpClock,
    private readonly caughtUp: () => void = () => {},
  ) {}

  get running(): boolean {
    return this.scheme !== null;
  }

  start(scheme: Scheme, group: number): void {
    this.scheme = scheme;
    this.group = group;
    if (!this.pending) {
      this.pending = true;
      this.clock.later(() => this.slice());
    }
  }

  stop(): void {
    this.scheme = null;
    this.group = -1;
  }

  private slice(): void {
    this.pending = false;
    const scheme = this.scheme;
    if (scheme === null) return;
    const end = this.clock.now() + sliceBudgetMs;
    for (;;) {
      const before = this.clock.now();
      const behind = scheme.continueTweak(this.group, this.membersPerCall);
      const took = this.clock.now() - before;
      if (!behind) {
        this.stop();
        this.caughtUp();
        return;
      }
      // Calls of about a millisecond: cheap to check the budget, small enough to stop in time.
      if (took < 0.5) this.membersPerCall *= 2;
      else if (took > 2 && this.membersPerCall > 256) this.membersPerCall >>= 1;
      if (this.clock.now() >= end) break;
    }
    this.pending = true;
    this.clock.later(() => this.slice());
  }
}
