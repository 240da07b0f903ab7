export function largeSchemeText(count: number): string;
